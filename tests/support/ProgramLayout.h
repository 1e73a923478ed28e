#pragma once
// Lays out a scratch program folder like the built one (TQ_BUILT_PROGRAM_DIR): the reference database,
// data/blank.html, data/cookbooks/, templates/, help/ and temp/. Shared by the tests and the benchmarks.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>

// Copies the folder `from` with everything below it to `to`.
inline void copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + '/' + QDir(from).relativeFilePath(src);
        if (it.fileInfo().isDir())
            QDir().mkpath(dst);
        else
            QFile::copy(src, dst);
    }
}

inline void layOutProgramFolder(const QString& root)
{
    const QString built = TQ_BUILT_PROGRAM_DIR;
    QDir().mkpath(root + "/data/cookbooks");
    QDir().mkpath(root + "/temp");
    QFile::copy(built + "/data/tovalquendry.mdb", root + "/data/tovalquendry.mdb");
    QFile::setPermissions(root + "/data/tovalquendry.mdb", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::copy(built + "/data/blank.html", root + "/data/blank.html");
    copyFolder(built + "/templates", root + "/templates");
    copyFolder(built + "/help", root + "/help");
}
