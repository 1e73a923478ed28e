#pragma once
// The data environment: the connection to the reference database "\data\tovalquendry.mdb", opened by
// start-up and closed by shutdown, and the small look-ups on its lists.
#include "platform/db/Database.h"

struct DataEnvironment {
    db::Connection cn;
};
inline DataEnvironment DE;

// Checks that the reference database holds the tables and columns the program reads; raises the
// database's "no such table" or "no such column" error for a foreign file (an empty database, a cookbook
// copied over it).
void CheckReferenceDatabase();

// Row counts of the reference lists as decimal text ("" when the count gives no row).
QString CountCategories();
QString CountIngredients();
QString CountOrigins();
// The country name of the ORIGIN row with that ID ("" for an empty ID or no such row). The ID is
// rounded to a whole number (halves to even); text that is no number raises "Type mismatch" (13), a
// number beyond 32 bits "Overflow" (6).
QString GetOriginName(const QString& id);
