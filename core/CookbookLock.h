#pragma once
// Which instance may rewrite or remove a cookbook. Every instance of the program that has a cookbook
// open shares a lock on it (an flock on "<cookbook>.lock" beside the file); Compact and Delete need it
// alone, so that no window is ever left working on a file that was replaced or deleted under it.
#include "platform/paths/LockFile.h"

#include <QString>

namespace basDatabase {

QString CookbookLockPath(const QString& cookbookPath);

// Shares the cookbook for as long as the returned lock is held. Waits while another window compacts or
// deletes it, and raises AppError when that takes longer than a database lock may be waited for. In a
// folder where no lock file can be made the cookbook is shared without one (nothing can rewrite or
// remove a file there either).
paths::LockFile ShareCookbook(const QString& cookbookPath);

// Takes the cookbook for this window alone, for as long as the returned lock is held. Raises AppError
// with a message saying so when the cookbook is open in another window of the program.
paths::LockFile TakeCookbookAlone(const QString& cookbookPath);

// Deletes the cookbook file "\data\cookbooks\" + fileName (with what a write left beside it), once it
// is this window's alone. The file must not be open as the current cookbook. Raises AppError.
void DeleteCookbookFile(const QString& fileName);

} // namespace basDatabase
