#include "platform/paths/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace paths {
namespace {
QString& folderOverride()
{
    static QString folder;
    return folder;
}

// Finds `name` in `dir` ignoring letter case; an exact match wins. Returns "" when none exists.
QString matchEntry(const QString& dir, const QString& name)
{
    if (QFileInfo::exists(dir + '/' + name))
        return name;
    const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return {};
}

QString resolveUnder(QString base, const QString& rest)
{
    const bool trailing = rest.endsWith('\\') || rest.endsWith('/');
    const QStringList parts = QString(rest).replace('\\', '/').split('/', Qt::SkipEmptyParts);
    bool exists = true;
    for (const QString& part : parts) {
        if (part == ".")
            continue;
        if (part == "..") {
            base = QFileInfo(base).path();
            continue;
        }
        QString found = exists ? matchEntry(base, part) : QString();
        if (found.isEmpty()) {
            exists = false;
            found = part;
        }
        base = (base.endsWith('/') ? base : base + '/') + found;
    }
    if (trailing && !base.endsWith('/'))
        base += '/';
    return base;
}
} // namespace

QString programFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder)
{
    QString f = QDir::cleanPath(QDir(folder).absolutePath());
    folderOverride() = f;
}

QString resolve(const QString& literal)
{
    return resolveUnder(programFolder(), literal);
}

QString resolveAbsolute(const QString& path)
{
    QString p = QString(path).replace('\\', '/');
    if (p.isEmpty())
        return p;
    if (!p.startsWith('/'))
        p = QDir::currentPath() + '/' + p;
    return resolveUnder("/", p.mid(1));
}

QString bareFileName(const QString& name)
{
    const int cut = std::max(name.lastIndexOf('/'), name.lastIndexOf('\\'));
    const QString bare = name.mid(cut + 1);
    if (bare == "." || bare == "..")
        return {};
    return bare;
}

QString nameFromData(const QString& name)
{
    QString kept;
    for (QChar c : bareFileName(name))
        if (c.category() != QChar::Other_Control && c != QChar::LineSeparator && c != QChar::ParagraphSeparator)
            kept += c;
    return bareFileName(kept);
}

QString extensionOf(const QString& name)
{
    const QString bare = bareFileName(name);
    const int dot = bare.lastIndexOf('.');
    return dot < 0 ? QString() : bare.mid(dot);
}

} // namespace paths
