#pragma once
// The settings file "TQSettings.ini" in the program folder: sections [Options], [Size] and [View].
#include <QString>

// The stored value, whole, or "" when the file, the section or the key is absent.
QString ReadINI(const QString& section, const QString& key);
// Stores the value so that ReadINI gives it back unchanged; a section, key or value holding a line break
// is refused and nothing is written. Failures are silent.
void WriteINI(const QString& section, const QString& key, const QString& value);

// The three settings read as Booleans ("True"/"False" in any letter case, or a number, 0 meaning false);
// `ok` is false when the text is neither.
bool toBoolean(const QString& value, bool* ok);
