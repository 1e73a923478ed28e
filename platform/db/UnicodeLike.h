#pragma once
struct sqlite3;

namespace db {
// Replaces SQLite's like() on the connection by one that ignores letter case beyond ASCII
// ("Crème" LIKE 'CRÈME%'), with "%" and "_" as wildcards and an optional ESCAPE character.
void registerUnicodeLike(sqlite3* db);
}
