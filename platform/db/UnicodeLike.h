#pragma once
#include <QString>

struct sqlite3;

namespace db {
// Replaces SQLite's like() on the connection by one that ignores letter case and accents in every
// language, folding pattern and text alike ("creme" finds "Crème brûlée", "boeuf" "Bœuf", "strass"
// "Straße"), with "%" and "_" as wildcards ("_" is one character as written) and an optional ESCAPE
// character. Its work is at most the length of the text times that of the pattern, whatever the pattern.
void registerUnicodeLike(sqlite3* db);

// The text as a LIKE pattern that matches it literally, for statements with ESCAPE '\': "%", "_" and
// "\" are escaped with "\".
QString likeLiteral(QString text);
} // namespace db
