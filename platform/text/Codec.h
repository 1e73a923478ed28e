#pragma once
// Text in the character sets of the program's files. Every conversion is Qt's (ICU's, for the character
// sets beyond UTF-8 and Latin-1). The 8-bit files (exchange formats, settings) hold the code page of the
// user's language, or UTF-8: a reader takes bytes that are valid UTF-8 as UTF-8, else as that code page.
#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace text {

// Whether every character is ASCII.
bool isAscii(QStringView s);
bool isAscii(QByteArrayView bytes);

bool isValidUtf8(QByteArrayView bytes);

// Whether bytes handed over piece by piece are valid UTF-8 taken together: a character may be cut between
// two pieces.
class Utf8Check {
public:
    // False once the bytes so far cannot be UTF-8.
    bool add(QByteArrayView piece);
    // Whether all the bytes were valid UTF-8, the last character whole.
    bool valid() const { return valid_ && pending_.isEmpty(); }

private:
    QByteArray pending_; // the start of a character cut at the end of the last piece
    bool valid_ = true;
};

// The 8-bit code page of a language as Windows gives each language one: "windows-1250" for Central
// European languages, "windows-1251" for Cyrillic, "windows-1253" for Greek, "Shift_JIS" (932) for
// Japanese ...; "windows-1252" for every other language.
QByteArray codePageOf(const QLocale& locale);
// The code page of the user's language (the default locale).
QByteArray localCodePage();

// Whether Qt knows a character set by that name.
bool isKnownCharset(const QByteArray& charset);
// Bytes in a known character set as text.
QString decodeAs(QByteArrayView bytes, const QByteArray& charset);
// Text in a known character set; nothing when a character does not fit.
std::optional<QByteArray> encodeExactly(QStringView text, const QByteArray& charset);
// Text in a known character set for an HTML page: a character it cannot hold becomes "&#N;".
QByteArray encodeWithReferences(const QString& text, const QByteArray& charset);

// UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark is dropped), else the user's code page.
QString decode8bit(QByteArrayView bytes);
// Text in the user's code page; nothing when a character does not fit.
std::optional<QByteArray> encode8bit(QStringView text, const QByteArray& codePage = localCodePage());

} // namespace text
