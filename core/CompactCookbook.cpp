#include "core/CompactCookbook.h"

#include "core/Helpers.h"
#include "core/basDatabase.h"
#include "platform/AppError.h"
#include "platform/db/Database.h"
#include "platform/paths/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

qint64 RecipeCount(db::Connection& cn)
{
    db::Query q(cn, "SELECT count(*) AS N FROM RECIPES");
    q.next();
    return q.value("N").toLongLong();
}

AppError AccessError(const QString& what)
{
    return AppError(AppError::PathFileAccess, what + ": " + QString::fromLocal8Bit(std::strerror(errno)));
}

// Forces the file's bytes to disk, so that the rename never puts a file in place whose bytes are not there.
void SyncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        throw AccessError("Cannot open " + path);
    const int rc = ::fsync(fd);
    ::close(fd);
    if (rc != 0)
        throw AccessError("Cannot write " + path);
}

// Makes the rename itself durable; the file is in place either way, so failures are not errors.
void SyncFolder(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void CompactCookbookFile(const QString& fileName)
{
    if (paths::bareFileName(fileName).isEmpty())
        throw AppError(AppError::FileNotFound, "File not found");
    const QString target = basDatabase::CookbookPath(paths::bareFileName(fileName));
    const QString temp = paths::resolve("\\Data\\cookbooks\\temp.mdb");

    if (FileExists(temp) && !QFile::remove(temp))
        throw AccessError("Cannot delete " + temp);

    try {
        qint64 recipes = 0;
        {
            db::Connection source;
            source.open(target);
            recipes = RecipeCount(source);
            db::Query(source, "VACUUM INTO ?1", {temp}).exec();
        }
        {
            db::Connection copy;
            copy.open(temp);
            if (RecipeCount(copy) != recipes)
                throw AppError(AppError::PathFileAccess, "The compacted copy does not hold every recipe.");
        }
        SyncFile(temp);
        QFile::setPermissions(temp, QFileInfo(target).permissions());
        if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0)
            throw AccessError("Cannot replace " + target);
    } catch (...) {
        if (QFileInfo(temp).isFile())
            QFile::remove(temp);
        throw;
    }
    SyncFolder(QFileInfo(target).absolutePath());
}
