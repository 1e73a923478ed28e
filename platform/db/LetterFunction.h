#pragma once
// The letter bar's test as an SQL function, so that a statement takes only the rows it lists.

struct sqlite3;

namespace db {
// Registers under_letter(text, letter) on the connection: 1 when the text sorts under that letter of the
// letter bar in the user's language ("Éclair" under "e", "Œufs" under "o"), else 0; NULL for NULL.
void registerLetterFunction(sqlite3* db);
} // namespace db
