#pragma once
// A settings file of the Windows private-profile kind: "[section]" lines and "key=value" lines under them.
// Sections and keys match without regard to letter case; blanks around keys and values are ignored and
// a value in matching double quotes loses them, as the Windows profile functions do. Nothing is cached:
// every call reads the file. A file that is not valid UTF-8 is read as Windows-1252.
#include <QString>

namespace ini {

// The value, or "" when the file, the section or the key is absent.
QString readValue(const QString& file, const QString& section, const QString& key);

// Stores the value, replacing an earlier one, adding the key and the section when missing and creating
// the file when missing (CR LF lines, UTF-8); whatever the value holds reads back unchanged. The file is
// never rewritten: only the value's own bytes change (or one line is added), in the file's own encoding
// and line ends. Refuses (returns false, writes
// nothing) a section, key or value holding a line break, a section holding "]", a key holding "=" or
// starting with "[" or ";", and a file that exists but cannot be read.
bool writeValue(const QString& file, const QString& section, const QString& key, const QString& value);

} // namespace ini
