#include "core/PageFolder.h"

#include "platform/paths/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pagefolder {
namespace {

struct Held {
    QString folder; // the folder this process made and locked
    int fd = -1;
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

bool IsInstanceName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (QChar c : name)
        if (!c.isDigit())
            return false;
    return true;
}

int OpenFolder(const QString& folder) { return ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

// Makes the folder under a name no cleaner looks at, locks it, then gives it its name: another instance
// starting meanwhile never sees it unlocked.
void Make(const QString& folder)
{
    release();
    const QString building = folder + ".new";
    QDir(building).removeRecursively();
    if (!QDir().mkpath(building))
        return;
    const int fd = OpenFolder(building);
    if (fd < 0)
        return;
    QDir(folder).removeRecursively(); // left by an ended process that had this id
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        std::rename(QFile::encodeName(building).constData(), QFile::encodeName(folder).constData()) != 0) {
        ::close(fd);
        QDir(building).removeRecursively();
        return;
    }
    held() = Held{folder, fd};
}

} // namespace

QString path()
{
    const QString folder = TempRoot() + '/' + QString::number(QCoreApplication::applicationPid());
    if (held().folder != folder || !QFileInfo(folder).isDir()) {
        QDir().mkpath(TempRoot());
        Make(folder);
    }
    return folder;
}

QString emailPath() { return path() + "/email"; }

void removeStale()
{
    const QDir root(TempRoot());
    const QString own = QString::number(QCoreApplication::applicationPid());
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (!IsInstanceName(name) || name == own)
            continue;
        const QString folder = root.filePath(name);
        const int fd = OpenFolder(folder);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            QDir(folder).removeRecursively(); // its instance has ended
        ::close(fd);
    }
}

void start()
{
    QDir().mkpath(TempRoot());
    removeStale();
    path();
}

void remove()
{
    const QString folder = held().folder;
    if (folder.isEmpty())
        return;
    QDir(folder).removeRecursively();
    release();
}

} // namespace pagefolder
