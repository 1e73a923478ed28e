#include "core/CompactCookbook.h"

#include "core/CookbookLock.h"
#include "core/Helpers.h"
#include "core/basDatabase.h"
#include "platform/AppError.h"
#include "platform/db/Database.h"
#include "platform/paths/FileReplacement.h"
#include "platform/paths/NewFile.h"
#include "platform/paths/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

qint64 RecipeCount(db::Connection& cn)
{
    db::Query q(cn, "SELECT count(*) AS N FROM RECIPES");
    q.next();
    return q.value("N").toLongLong();
}

// The error of the file operation that just failed (a full disk says so), and what it was doing.
AppError AccessError(const QString& what)
{
    AppError error = paths::fileError(errno);
    error.description += " (" + what + ")";
    return error;
}

// Forces the file's bytes to disk, so that the rename never puts a file in place whose bytes are not there.
void SyncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        throw AccessError("Cannot open " + path);
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0) {
        errno = error;
        throw AccessError("Cannot write " + path);
    }
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

// The start of the name of every temporary copy made while compacting the cookbook at this path.
QString CompactCopyPrefix(const QString& cookbookPath) { return QFileInfo(cookbookPath).fileName() + ".~compact-"; }

// A copy and the journal SQLite keeps beside it while it writes the copy.
void RemoveCopy(const QString& temp)
{
    QFile::remove(temp);
    QFile::remove(temp + "-journal");
}

// A file that nobody may write (no write permission for anyone, or one SQLite opened read-only) is not
// replaced by its compacted copy, whoever runs the program (root may rename over it all the same).
void RefuseReadOnly(const QString& path, db::Connection& cn)
{
    struct stat st {};
    const bool noWriteBits = ::stat(QFile::encodeName(path).constData(), &st) == 0
                             && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (noWriteBits || sqlite3_db_readonly(cn.handle(), "main") == 1)
        throw AppError(-SQLITE_READONLY, QString::fromUtf8(sqlite3_errstr(SQLITE_READONLY)));
}

qint64 Pragma(db::Connection& cn, const char* name)
{
    db::Query q(cn, QString("PRAGMA %1").arg(name));
    return q.next() ? q.value(0).toLongLong() : 0;
}

// About the size of the compacted copy: the pages in use now (the free ones are left out).
qint64 ExpectedCopyBytes(db::Connection& cn)
{
    return (Pragma(cn, "page_count") - Pragma(cn, "freelist_count")) * Pragma(cn, "page_size");
}

} // namespace

int CompactionProgress::permille() const
{
    QString copy;
    qint64 expected = 0;
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        if (finished_)
            return 1000;
        copy = copy_;
        expected = expected_;
    }
    if (copy.isEmpty() || expected <= 0)
        return 0;
    // The size from stat: the copy is open in SQLite meanwhile, so no descriptor of ours touches it.
    struct stat st {};
    if (::stat(QFile::encodeName(copy).constData(), &st) != 0)
        return 0;
    // Checking the copy and putting it in place come after the last page: the bar waits short of its end.
    return int(std::min<qint64>(990, qint64(st.st_size) * 1000 / expected));
}

void CompactionProgress::copyStarted(const QString& copyPath, qint64 expectedBytes)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    copy_ = copyPath;
    expected_ = expectedBytes;
}

void CompactionProgress::finished()
{
    const std::lock_guard<std::mutex> guard(mutex_);
    finished_ = true;
}

void CompactCookbookFile(const QString& fileName, CompactionProgress* progress)
{
    if (!basDatabase::IsCookbookFileName(fileName))
        throw AppError(AppError::FileNotFound, "File not found");
    const QString target = basDatabase::CookbookPath(fileName);
    if (!FileExists(target))
        throw AppError(AppError::FileNotFound, "File not found");
    const QDir folder = QFileInfo(target).dir();
    // No other window of the program has the cookbook open, and none opens it until it is back in place.
    const paths::LockFile alone = basDatabase::TakeCookbookAlone(target);

    // The write lock on the cookbook, from before the copy until the copy has taken its place: another
    // instance's write waits for it and then fails on the replaced file (SQLite refuses to write a file
    // that was moved away), instead of going into the old file unseen.
    db::Connection locker;
    locker.open(target);
    RefuseReadOnly(target, locker);
    db::Transaction lock(locker, db::Transaction::OnScopeExit::Rollback, db::Transaction::Lock::Immediate);
    const qint64 recipes = RecipeCount(locker);

    // While the lock is held no other compaction of this cookbook runs: any copy of it (and the journal
    // of its writing) is a leftover of a compaction that was killed. So is "temp.mdb", the one name
    // earlier versions used for every copy.
    const QString prefix = CompactCopyPrefix(target);
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        const bool stale = (name.startsWith(prefix, Qt::CaseInsensitive)
                            && (name.endsWith(".tmp") || name.endsWith(".tmp-journal")))
                           || name.compare("temp.mdb", Qt::CaseInsensitive) == 0;
        QFile leftover(folder.filePath(name));
        if (stale && !leftover.remove())
            throw AppError(AppError::PathFileAccess, "Cannot delete " + leftover.fileName() + ": " + leftover.errorString());
    }

    // A copy of its own, made empty and exclusively (two compactions never share one).
    QString temp;
    std::optional<paths::NewFile> made;
    for (int attempt = 0; !made; ++attempt) {
        temp = folder.filePath(prefix + QString::number(QRandomGenerator::global()->generate(), 16) + ".tmp");
        try {
            made.emplace(temp);
        } catch (const AppError& e) {
            if (e.number != 58 || attempt == 10)
                throw;
        }
    }
    made->close();

    if (progress)
        progress->copyStarted(temp, ExpectedCopyBytes(locker));
    try {
        {
            db::Connection source;
            source.open(target);
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
        RemoveCopy(temp);
        throw;
    }
    SyncFolder(folder.absolutePath());
    if (progress)
        progress->finished();
}
