#include "exchange/basZip.h"

#include "platform/paths/ProgramFolder.h"
#include "platform/zip/ZipWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

namespace basZip {
namespace {

// An entry's name never carries a control character (a line break in a file name from data).
QString EntryName(const QString& name)
{
    QString kept;
    for (QChar c : name)
        if (c.category() != QChar::Other_Control)
            kept += c;
    return kept;
}

bool IsPattern(const QString& name) { return name.contains('*') || name.contains('?'); }

QString Absolute(const QString& name, const QString& rootDirectory)
{
    const QString slashed = QString(name).replace('\\', '/');
    if (slashed.startsWith('/'))
        return slashed;
    QString root = QString(rootDirectory).replace('\\', '/');
    if (root.isEmpty())
        root = "/";
    return root.endsWith('/') ? root + slashed : root + '/' + slashed;
}

// The files one name stands for, each with its name inside the archive.
QList<zipfile::Entry> Expand(const QString& name, const QString& rootDirectory, bool recurse)
{
    const QString full = Absolute(name, rootDirectory);
    const qsizetype cut = full.lastIndexOf('/');
    const QString folder = paths::resolveAbsolute(cut <= 0 ? QString("/") : full.left(cut));
    QString pattern = full.mid(cut + 1);
    QList<zipfile::Entry> entries;
    if (!IsPattern(pattern)) {
        const QString file = paths::resolveAbsolute(full);
        if (QFileInfo(file).isFile())
            entries.append({file, QFileInfo(file).fileName()});
        return entries;
    }
    if (pattern == "*.*") // every file, with or without an extension
        pattern = "*";
    QDirIterator it(folder, {pattern}, QDir::Files | QDir::Hidden | QDir::System,
                    recurse ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    const QDir base(folder);
    while (it.hasNext()) {
        const QString file = it.next();
        entries.append({file, base.relativeFilePath(file)});
    }
    std::sort(entries.begin(), entries.end(), [](const zipfile::Entry& a, const zipfile::Entry& b) { return a.name < b.name; });
    return entries;
}

} // namespace

void ZipPrintCallback(const QString& message) { sZipMessage += message; }

int ZipArchiveFiles(const QStringList& names, const QString& zipName, bool recurse, bool update,
                    const QString& rootDirectory, const zipfile::Watch* watch)
{
    sZipMessage.clear();
    const QString archive = paths::resolveAbsolute(Absolute(zipName, rootDirectory));
    const QString archiveCanonical = QFileInfo(archive).absoluteFilePath();
    QList<zipfile::Entry> entries;
    QSet<QString> taken;
    for (const QString& name : names) {
        const QList<zipfile::Entry> found = Expand(name, rootDirectory, recurse);
        if (found.isEmpty())
            ZipPrintCallback("\tzip warning: name not matched: " + name + "\r\n");
        for (zipfile::Entry e : found) {
            if (QFileInfo(e.path).absoluteFilePath().compare(archiveCanonical, Qt::CaseInsensitive) == 0)
                continue;
            e.name = EntryName(e.name);
            if (e.name.isEmpty() || e.name.endsWith('/'))
                continue;
            if (taken.contains(e.name.toLower()))
                continue;
            taken.insert(e.name.toLower());
            entries.append(e);
        }
    }
    QString messages;
    const int result = zipfile::writeArchive(archive, entries, update, messages, watch);
    ZipPrintCallback(messages);
    return result;
}

} // namespace basZip
