#include "core/ProtectedFiles.h"

#include "core/CookbookLock.h"
#include "core/DE.h"
#include "core/basMain.h"
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

// Whether the path lies inside the folder (whatever spelling or link leads to either).
bool IsInside(const QString& path, const Identity& folder)
{
    if (!folder.exists)
        return false;
    QStringList ancestors{QFileInfo(path).absolutePath()};
    if (const QString real = QFileInfo(path).canonicalFilePath(); !real.isEmpty())
        ancestors << QFileInfo(real).path();
    for (QString dir : ancestors)
        for (;;) {
            if (identityOf(dir) == folder)
                return true;
            const QString up = QFileInfo(dir).path();
            if (up == dir)
                break;
            dir = up;
        }
    return false;
}

// What the path is to the program, or "" when it is none of the files the program keeps.
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
    if (file == identityOf(paths::resolve("\\TQSettings.ini")))
        return "the program's settings file";
    if (file == identityOf(paths::resolve("\\error.log")))
        return "the program's error log";
    if (!basMain::sTemplatePath.isEmpty() && file == identityOf(paths::resolveAbsolute(basMain::sTemplatePath)))
        return "the recipe page template in use";
    if (IsInside(target.absoluteFilePath(), identityOf(paths::resolve("\\temp"))))
        return "a working file of the program";

    const QDir folder(basDatabase::CookbooksFolder());
    if (basDatabase::HasCookbookEnding(target.fileName()) && identityOf(target.absolutePath()) == identityOf(folder.path()))
        return "a cookbook of the cookbooks folder";
    if (file.exists)
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (basDatabase::HasCookbookEnding(name) && file == identityOf(folder.filePath(name)))
                return "a cookbook of the cookbooks folder";
            if (name.endsWith(".lock", Qt::CaseInsensitive) && file == identityOf(folder.filePath(name)))
                return "a lock file of the program";
        }
    if (file.exists && (file == identityOf(paths::resolve("\\TQSettings.ini.lock"))
                        || (basDatabase::cnCookbook.isOpen()
                            && file == identityOf(basDatabase::CookbookLockPath(basDatabase::cnCookbook.path())))))
        return "a lock file of the program";

    // A lock file by its name beside what it guards ("<file>.lock", or ".<file>.lock" for a cookbook), and a
    // database's own journal beside it: replacing either could let another instance or a write in progress
    // damage the file.
    const QString name = target.fileName();
    if (name.endsWith(".lock", Qt::CaseInsensitive)) {
        QStringList guarded{target.absoluteFilePath().chopped(5)};
        if (name.startsWith('.'))
            guarded << target.absoluteDir().filePath(name.mid(1).chopped(5));
        for (const QString& g : guarded)
            if (!protectedKind(g).isEmpty())
                return "a lock file of the program";
    }
    for (const QString suffix : {"-journal", "-wal", "-shm"})
        if (name.endsWith(suffix, Qt::CaseInsensitive)) {
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
