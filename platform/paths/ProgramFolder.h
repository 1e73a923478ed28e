#pragma once
// The program folder and the names under it.
//
// Every path the program uses lives under the folder of the executable and is written in the code the way
// the program has always named it: a backslash literal such as "\\data\\cookbooks\\". `resolve` turns such
// a literal into a real path, matching each existing name without regard to letter case, so "\\Data" and
// "\\data" are one folder. Names that do not exist yet keep the spelling given.
#include <QString>

namespace paths {

// The folder that holds the executable (tests point it at a scratch folder).
QString programFolder();
void setProgramFolder(const QString& folder);

// programFolder() followed by the literal, resolved case-insensitively. A trailing separator in the
// literal is kept ("\\temp\\" gives ".../temp/").
QString resolve(const QString& literal);

// Resolves a path that is already absolute (or relative to the current folder) the same way.
QString resolveAbsolute(const QString& path);

// The last component of a name taken from data (after the last "/" or "\\"). Empty, "." and ".."
// give "" ("no name"): nothing from data ever chooses a folder.
QString bareFileName(const QString& name);
// A file name that came with data (a stored or imported picture name) as one safe name: its last path
// component with every control character (CR, LF, tab, NUL...) left out, so that it can never break a
// mail header or an archive entry into lines; "" for no name.
QString nameFromData(const QString& name);

// The extension of a stored file name from its last ".", with the dot ("cake.jpeg" -> ".jpeg");
// "" when the bare name has no dot.
QString extensionOf(const QString& name);

} // namespace paths
