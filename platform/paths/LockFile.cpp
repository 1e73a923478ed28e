#include "platform/paths/LockFile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paths {
namespace {
// True while the name still leads to the file open on `fd` (it may have been removed and made anew).
bool stillAtPath(int fd, const QByteArray& path)
{
    struct stat mine {};
    struct stat named {};
    return ::fstat(fd, &mine) == 0 && ::stat(path.constData(), &named) == 0 && mine.st_dev == named.st_dev
           && mine.st_ino == named.st_ino;
}
} // namespace

LockFile::LockFile(LockFile&& other) noexcept : fd_(other.fd_), error_(other.error_), path_(std::move(other.path_))
{
    other.fd_ = -1;
}

LockFile& LockFile::operator=(LockFile&& other) noexcept
{
    if (this != &other) {
        release();
        fd_ = other.fd_;
        error_ = other.error_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

LockFile::Result LockFile::take(const QString& lockPath, Mode mode, int waitMs)
{
    release();
    const QByteArray path = QFile::encodeName(lockPath);
    const int operation = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        const int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            error_ = errno;
            return Result::Unavailable;
        }
        int rc;
        do
            rc = ::flock(fd, operation);
        while (rc != 0 && errno == EINTR);
        if (rc == 0) {
            if (stillAtPath(fd, path)) {
                fd_ = fd;
                path_ = lockPath;
                return Result::Taken;
            }
            ::close(fd); // removed by its last holder: take the lock on the file that is there now
            continue;
        }
        error_ = errno;
        ::close(fd);
        if (error_ != EWOULDBLOCK)
            return Result::Unavailable;
        if (deadline.hasExpired())
            return Result::Busy;
        QThread::msleep(10);
    }
}

void LockFile::release()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void LockFile::removeFile()
{
    if (fd_ >= 0)
        ::unlink(QFile::encodeName(path_).constData());
}

} // namespace paths
