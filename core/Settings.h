#pragma once
// The settings file "TQSettings.ini" in the program folder: sections [Options], [Size] and [View].
#include <QList>
#include <QString>

#include <utility>

// The stored value, whole, or "" when the file, the section or the key is absent.
QString ReadINI(const QString& section, const QString& key);
// Stores the value so that ReadINI gives it back unchanged; a section, key or value holding a line break
// is refused and nothing is written. A file that cannot be written (a full disk) is left as it was and
// the failure reported through LogError under "WriteINI". False when the value was not stored.
bool WriteINI(const QString& section, const QString& key, const QString& value);
// Several keys of one section in one write, all of them stored or none; a failure is reported once
// through LogError under "WriteINI". False when nothing was stored.
bool WriteINI(const QString& section, const QList<std::pair<QString, QString>>& values);
// The same, but a failure throws AppError when the file
// cannot be read or written (it is then left as it was); reporting is the caller's.
void WriteINIKeys(const QString& section, const QList<std::pair<QString, QString>>& values);

// The three settings read as Booleans ("True"/"False" in any letter case, or a number, 0 meaning false);
// `ok` is false when the text is neither.
bool toBoolean(const QString& value, bool* ok);
