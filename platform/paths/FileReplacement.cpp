#include "platform/paths/FileReplacement.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paths {
namespace {
constexpr qsizetype kChunk = qsizetype(1) << 16;

// The file a write to `path` reaches: the end of a chain of links, or the path itself.
QString followLinks(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return info.absoluteFilePath();
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}
} // namespace

AppError fileError(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        return AppError(AppError::DiskFull, "Disk full");
    if (error == ENOENT || error == ENOTDIR)
        return AppError(AppError::PathNotFound, "Path not found");
    return AppError(AppError::PathFileAccess,
                    "Path/File access error: " + QString::fromLocal8Bit(std::strerror(error)));
}

FileReplacement::FileReplacement(const QString& target, Sync sync) : target_(followLinks(target)), sync_(sync)
{
    const QByteArray base = QFile::encodeName(target_);
    // A folder in the way, or a file the user protected from writing, is never replaced.
    struct stat existing {};
    if (::stat(base.constData(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            throw fileError(EISDIR);
        if (::access(base.constData(), W_OK) != 0)
            throw fileError(errno);
    }
    // A name of our own beside the target, created exclusively: nothing that exists is ever taken over.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ = base + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        fd_ = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        const AppError error = fileError(errno);
        temporary_.clear();
        throw error;
    }
    setOpenMode(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

FileReplacement::~FileReplacement() { cancel(); }

void FileReplacement::fail(int error)
{
    if (!failed_) {
        failed_ = true;
        failure_ = fileError(error);
        setErrorString(failure_.description);
    }
    throw failure_;
}

void FileReplacement::flushBuffer()
{
    qsizetype done = 0;
    while (done < buf_.size()) {
        const ssize_t n = ::write(fd_, buf_.constData() + done, size_t(buf_.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            buf_.clear();
            fail(n == 0 ? ENOSPC : errno);
        }
        done += n;
    }
    buf_.resize(0); // the buffer's memory is kept for the next chunk
}

void FileReplacement::append(QByteArrayView bytes)
{
    if (failed_)
        throw failure_;
    if (fd_ < 0)
        fail(EBADF);
    if (buf_.capacity() < 2 * kChunk)
        buf_.reserve(2 * kChunk);
    buf_.append(bytes);
    if (buf_.size() >= kChunk)
        flushBuffer();
}

qint64 FileReplacement::writeData(const char* data, qint64 size)
{
    try {
        append(QByteArrayView(data, size));
        return size;
    } catch (const AppError&) {
        return -1;
    }
}

void FileReplacement::commit()
{
    if (failed_)
        throw failure_;
    if (fd_ < 0)
        fail(EBADF);
    try {
        flushBuffer();
        struct stat old {};
        if (::stat(QFile::encodeName(target_).constData(), &old) == 0 && ::fchmod(fd_, old.st_mode & 07777) != 0)
            fail(errno);
        if (sync_ == Sync::ToDisk && ::fsync(fd_) != 0)
            fail(errno);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            fail(errno);
        if (::rename(temporary_.constData(), QFile::encodeName(target_).constData()) != 0)
            fail(errno);
        temporary_.clear();
        setOpenMode(QIODevice::NotOpen);
    } catch (...) {
        removeTemporary();
        throw;
    }
}

void FileReplacement::removeTemporary()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.isEmpty()) {
        ::unlink(temporary_.constData());
        temporary_.clear();
    }
    buf_.clear();
    setOpenMode(QIODevice::NotOpen);
}

void FileReplacement::cancel() { removeTemporary(); }

void FileReplacement::flush()
{
    if (failed_)
        throw failure_;
    if (fd_ < 0)
        fail(EBADF);
    flushBuffer();
}

void replaceFile(const QString& target, QByteArrayView bytes, Sync sync)
{
    FileReplacement file(target, sync);
    file.append(bytes);
    file.commit();
}

} // namespace paths
