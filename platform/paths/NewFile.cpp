#include "platform/paths/NewFile.h"

#include "platform/AppError.h"
#include "platform/paths/FileReplacement.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paths {

NewFile::NewFile(const QString& path) : path_(path)
{
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0)
        return;
    const int error = errno;
    if (error == EEXIST)
        throw AppError(58, "File already exists");
    throw fileError(error); // a missing folder, a full disk, or another access error
}

NewFile::~NewFile() { close(); }

bool NewFile::stillAtPath() const
{
    struct stat mine {};
    struct stat named {};
    return fd_ >= 0 && ::fstat(fd_, &mine) == 0 && ::stat(QFile::encodeName(path_).constData(), &named) == 0
           && mine.st_dev == named.st_dev && mine.st_ino == named.st_ino;
}

void NewFile::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace paths
