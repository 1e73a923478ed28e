#pragma once
// Compacting a cookbook file in place without ever risking it.
#include <QString>

// Compacts the cookbook file `fileName` in "\data\cookbooks\". Holds the cookbook's write lock throughout,
// writes a compacted copy to a temporary file of its own in that folder (leftovers of a killed compaction,
// and a "temp.mdb", are deleted first) and, only when the copy is complete and holds every recipe, puts
// it in the cookbook's place with one atomic rename. On any failure the cookbook stays as it was, the
// copy is removed, and an AppError is thrown. The file must not be open as the current cookbook.
void CompactCookbookFile(const QString& fileName);
