#pragma once
// A settings file of the Windows private-profile kind: "[section]" lines and "key=value" lines under them.
// Sections and keys match without regard to letter case; blanks around keys and values are ignored and
// a value in matching double quotes loses them, as the Windows profile functions do. Nothing is cached:
// every call reads the file. A file that is not valid UTF-8 is read in the code page of the user's language.
#include <QList>
#include <QString>

#include <utility>

namespace ini {

// The value, or "" when the file, the section or the key is absent.
QString readValue(const QString& file, const QString& section, const QString& key);

// Stores the value, replacing an earlier one, adding the key and the section when missing and creating
// the file when missing (CR LF lines, UTF-8); whatever the value holds reads back unchanged. Only the
// value's own bytes change (or one line is added), in the file's own encoding and line ends. Refuses
// (returns false, writes nothing) a section, key or value holding a line break, a section holding "]", a key holding "=" or
// starting with "[" or ";". The file is replaced whole through a temporary file, under an exclusive lock
// on "<file>.lock" held from the read to the rename, so that writers in other processes lose nothing.
// Throws AppError when the file cannot be read or written (61 disk full, 75 access); it is then left as
// it was.
bool writeValue(const QString& file, const QString& section, const QString& key, const QString& value);
// The same for several keys of one section in one write: all of them or, on a failure, none.
bool writeValues(const QString& file, const QString& section, const QList<std::pair<QString, QString>>& values);

} // namespace ini
