#pragma once
// Compacting a cookbook file in place without ever risking it.
#include <QString>

// Compacts the cookbook file `fileName` in "\data\cookbooks\": writes a compacted copy to "temp.mdb" in that
// folder (a left-over one is deleted first) and, only when the copy is complete and holds every recipe,
// puts it in the cookbook's place with one atomic rename. On any failure the cookbook stays as it was,
// the copy is removed, and an AppError is thrown. The file must not be open as the current cookbook.
void CompactCookbookFile(const QString& fileName);
