#include "core/PageFolder.h"

#include "platform/paths/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagefolder {
namespace {

// What our lock file holds: a file of that name made by anyone else does not make a folder ours.
constexpr char kSignature[] = "Tovalquendry instance folder\n";

struct Held {
    QString folder; // the folder this process made and locked
    int fd = -1;    // its lock file
};

Held& held()
{
    static Held h;
    return h;
}

void release()
{
    Held& h = held();
    if (h.fd >= 0)
        ::close(h.fd);
    h = Held{};
}

QString TempRoot() { return paths::resolve("\\temp"); }

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// What lies at the path itself, a link not followed: 'd' a real folder, 'l' a link, 'f' anything else,
// 0 nothing.
char Kind(const QString& path, dev_t* device = nullptr)
{
    struct stat st {};
    if (::lstat(Native(path).constData(), &st) != 0)
        return 0;
    if (device)
        *device = st.st_dev;
    return S_ISDIR(st.st_mode) ? 'd' : S_ISLNK(st.st_mode) ? 'l' : 'f';
}

// An instance's folder name: the process id, or the process id and a number when that name was taken.
bool IsInstanceName(const QString& name)
{
    const QStringList parts = name.split('-');
    if (parts.size() > 2)
        return false;
    for (const QString& part : parts) {
        if (part.isEmpty())
            return false;
        for (QChar c : part)
            if (!c.isDigit())
                return false;
    }
    return true;
}

// Opens the folder's lock file when the folder is one of ours: a real folder (not a link) holding a real
// file (not a link) that starts with our signature. -1 otherwise.
int OpenOwnLock(const QString& folder)
{
    if (Kind(folder) != 'd')
        return -1;
    const int fd = ::open(Native(folder + '/' + lockFileName()).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    char head[sizeof kSignature - 1] = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::pread(fd, head, sizeof head, 0) != ssize_t(sizeof head)
        || std::memcmp(head, kSignature, sizeof head) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Removes a real folder and what it holds without following any link: a link inside goes as a link, and
// a folder of another file system mounted inside is left as it is.
void RemoveTree(const QString& folder, dev_t device)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        const QString entry = dir.filePath(name);
        dev_t at = 0;
        const char kind = Kind(entry, &at);
        if (kind == 'd') {
            if (at == device)
                RemoveTree(entry, device);
        } else if (kind) {
            ::unlink(Native(entry).constData());
        }
    }
    ::rmdir(Native(folder).constData());
}

// Removes the folder when it is ours and no running instance holds it. True when the name is free after.
bool RemoveIfEnded(const QString& folder)
{
    const char kind = Kind(folder);
    if (kind == 0)
        return true;
    const int fd = OpenOwnLock(folder);
    if (fd < 0)
        return false; // a link, a file or a folder that is not ours: left alone
    dev_t device = 0;
    const bool ended = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && Kind(folder, &device) == 'd';
    if (ended)
        RemoveTree(folder, device);
    ::close(fd);
    return ended && Kind(folder) == 0;
}

// Makes the folder under a name no cleaner looks at, locks it, then gives it its name: another instance
// starting meanwhile never sees it unlocked. Returns the folder made ("" when none could be).
QString Make(const QString& folder)
{
    release();
    const QString building = folder + ".new";
    if (!RemoveIfEnded(building) && Kind(building) != 'l')
        return {};
    if (Kind(building) == 'l')
        ::unlink(Native(building).constData()); // a name of our own making; never followed
    if (::mkdir(Native(building).constData(), 0700) != 0)
        return {};
    const int fd = ::open(Native(building + '/' + lockFileName()).constData(),
                          O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    const bool locked = fd >= 0 && ::write(fd, kSignature, sizeof kSignature - 1) == ssize_t(sizeof kSignature - 1)
                        && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    // The name is this process id's, left by an ended process that had it, or else taken by something
    // that is not ours: then the next free numbered name.
    QString name = folder;
    for (int n = 1; locked && !RemoveIfEnded(name) && n < 100; ++n)
        name = folder + '-' + QString::number(n);
    if (!locked || Kind(name) != 0 || std::rename(Native(building).constData(), Native(name).constData()) != 0) {
        if (fd >= 0)
            ::close(fd);
        dev_t device = 0;
        if (Kind(building, &device) == 'd')
            RemoveTree(building, device);
        return {};
    }
    held() = Held{name, fd};
    return name;
}

} // namespace

QString lockFileName() { return QStringLiteral(".instance.lock"); }

QString path()
{
    const QString folder = TempRoot() + '/' + QString::number(QCoreApplication::applicationPid());
    const Held& h = held();
    if (!h.folder.isEmpty() && QFileInfo(h.folder).path() == TempRoot() && Kind(h.folder) == 'd')
        return h.folder;
    QDir().mkpath(TempRoot());
    const QString made = Make(folder);
    return made.isEmpty() ? folder : made;
}

QString emailPath() { return path() + "/email"; }

void removeStale()
{
    const QDir root(TempRoot());
    const QString own = QFileInfo(held().folder).fileName();
    for (const QString& name : root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (IsInstanceName(name) && name != own)
            RemoveIfEnded(root.filePath(name)); // its instance has ended
    }
}

void start()
{
    QDir().mkpath(TempRoot());
    path();
    removeStale();
}

void remove()
{
    const QString folder = held().folder;
    if (folder.isEmpty())
        return;
    dev_t device = 0;
    if (Kind(folder, &device) == 'd')
        RemoveTree(folder, device);
    release();
}

} // namespace pagefolder
