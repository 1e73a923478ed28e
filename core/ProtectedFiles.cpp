#include "core/ProtectedFiles.h"

#include "core/DE.h"
#include "core/basDatabase.h"
#include "platform/AppError.h"
#include "platform/paths/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    bool exists = false;
    bool operator==(const Identity& other) const
    {
        return exists && other.exists && device == other.device && inode == other.inode;
    }
};

Identity identityOf(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {st.st_dev, st.st_ino, true};
}

// What the path is to the program, or "" when it is none of its databases.
QString protectedKind(const QString& path)
{
    const QFileInfo target(path);
    const Identity file = identityOf(target.absoluteFilePath());
    if (basDatabase::cnCookbook.isOpen() && file == identityOf(basDatabase::cnCookbook.path()))
        return "the open cookbook";
    if (!basDatabase::sCurrentCookbook.isEmpty() && file == identityOf(basDatabase::CookbookPath(basDatabase::sCurrentCookbook)))
        return "the open cookbook";
    if (file == identityOf(paths::resolve("\\data\\tovalquendry.mdb"))
        || (DE.cn.isOpen() && file == identityOf(DE.cn.path())))
        return "the program's main database";

    const QDir folder(basDatabase::CookbooksFolder());
    if (basDatabase::HasCookbookEnding(target.fileName()) && identityOf(target.absolutePath()) == identityOf(folder.path()))
        return "a cookbook of the cookbooks folder";
    if (file.exists)
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
            if (basDatabase::HasCookbookEnding(name) && file == identityOf(folder.filePath(name)))
                return "a cookbook of the cookbooks folder";

    // The database's own journal beside it: replacing it could undo or damage a write in progress.
    for (const QString suffix : {"-journal", "-wal", "-shm"})
        if (target.fileName().endsWith(suffix, Qt::CaseInsensitive)) {
            const QString database = target.absoluteFilePath().chopped(suffix.size());
            if (const QString kind = protectedKind(database); !kind.isEmpty())
                return "the journal of " + kind;
        }
    return {};
}

} // namespace

QString ProtectedFileMessage(const QString& path)
{
    // As typed, and as the program's own case-insensitive resolution reads the name.
    QString kind = protectedKind(path);
    if (kind.isEmpty())
        kind = protectedKind(paths::resolveAbsolute(path));
    if (kind.isEmpty())
        return {};
    return "\"" + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) + "\" is " + kind
           + " and cannot be overwritten.\nPlease choose another file.";
}

void RefuseProtectedFile(const QString& path)
{
    const QString message = ProtectedFileMessage(path);
    if (!message.isEmpty())
        throw AppError(AppError::PathFileAccess, message);
}
