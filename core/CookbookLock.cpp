#include "core/CookbookLock.h"

#include "core/basDatabase.h"
#include "platform/AppError.h"
#include "platform/db/Database.h"
#include "platform/ui/Ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace basDatabase {

QString CookbookLockPath(const QString& cookbookPath)
{
    const QFileInfo cookbook(cookbookPath);
    return cookbook.dir().filePath("." + cookbook.fileName() + ".lock"); // hidden beside the cookbook
}

paths::LockFile ShareCookbook(const QString& cookbookPath)
{
    paths::LockFile lock;
    const auto result = lock.take(CookbookLockPath(cookbookPath), paths::LockFile::Mode::Shared, db::busyTimeout());
    if (result == paths::LockFile::Result::Busy)
        throw AppError(70, "The cookbook is being compacted or deleted in another window of " + ui::programTitle()
                               + ". Try again when that is done.");
    return lock;
}

paths::LockFile TakeCookbookAlone(const QString& cookbookPath)
{
    paths::LockFile lock;
    switch (lock.take(CookbookLockPath(cookbookPath), paths::LockFile::Mode::Exclusive)) {
    case paths::LockFile::Result::Taken:
        break;
    case paths::LockFile::Result::Busy:
        throw AppError(70, "The cookbook is open in another window of " + ui::programTitle()
                               + ". Close it there first.");
    case paths::LockFile::Result::Unavailable:
        throw AppError(AppError::PathFileAccess, "Path/File access error: cannot lock " + cookbookPath + ": "
                                                     + QString::fromLocal8Bit(std::strerror(lock.error())));
    }
    return lock;
}

void DeleteCookbookFile(const QString& fileName)
{
    if (!IsCookbookFileName(fileName))
        throw AppError(AppError::FileNotFound, "File not found");
    const QString path = CookbookPath(fileName);
    if (!QFileInfo(path).isFile())
        throw AppError(AppError::FileNotFound, "File not found");
    paths::LockFile alone = TakeCookbookAlone(path);
    QFile file(path);
    if (!file.remove())
        throw AppError(AppError::PathFileAccess, "Path/File access error: " + file.errorString());
    // A journal left by an interrupted write would otherwise be rolled into a new cookbook of this name.
    QFile::remove(path + "-journal");
    alone.removeFile();
}

} // namespace basDatabase
