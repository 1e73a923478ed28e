#pragma once
// Recipe names in the languages users cook in, and the user's locale set for as long as a guard lives.
#include <QLocale>
#include <QStringList>

// Makes `locale` the user's locale (QLocale's default) for as long as it lives.
class UserLanguage {
public:
    explicit UserLanguage(const QLocale& locale) { QLocale::setDefault(locale); }
    ~UserLanguage() { QLocale::setDefault(previous_); }
    UserLanguage(const UserLanguage&) = delete;
    UserLanguage& operator=(const UserLanguage&) = delete;

private:
    QLocale previous_;
};

inline const QLocale German(QLocale::German, QLocale::Germany);
inline const QLocale Polish(QLocale::Polish, QLocale::Poland);
