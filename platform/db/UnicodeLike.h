#pragma once
#include <QString>

struct sqlite3;

namespace db {
// Replaces SQLite's like() on the connection by one that ignores letter case beyond ASCII
// ("Crème" LIKE 'CRÈME%'), with "%" and "_" as wildcards and an optional ESCAPE character. Its work is
// at most the length of the text times that of the pattern, whatever the pattern.
void registerUnicodeLike(sqlite3* db);

// The text as a LIKE pattern that matches it literally, for statements with ESCAPE '\': "%", "_" and
// "\" are escaped with "\".
QString likeLiteral(QString text);
} // namespace db
