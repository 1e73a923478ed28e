#include "browser/PageSaver.h"

#include "platform/AppError.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/Codec.h"
#include "platform/text/LineFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

// The local file a src value names, "" for links elsewhere (http:, data: ...) and missing files.
QString localFile(const QString& value, const QDir& pageFolder)
{
    QString path = value.trimmed();
    if (path.startsWith("file:", Qt::CaseInsensitive))
        path = QUrl(path).toLocalFile();
    else if (QRegularExpression("^[A-Za-z][A-Za-z0-9+.-]+:").match(path).hasMatch())
        return {};
    if (path.isEmpty())
        return {};
    if (QDir::isRelativePath(path))
        path = pageFolder.filePath(path);
    return QFileInfo(path).isFile() ? QFileInfo(path).absoluteFilePath() : QString();
}

} // namespace

QStringList SavePageWithPictures(const QString& page, const QString& target)
{
    // Latin-1 maps every byte to one character and back, so the page's own bytes survive the editing.
    QString html = QString::fromLatin1(text::readAllBytes(page));
    const QDir pageFolder = QFileInfo(page).absoluteDir();
    const QDir targetFolder = QFileInfo(target).absoluteDir();
    QStringList copied;

    static const QRegularExpression src(R"((\bsrc\s*=\s*)(["'])(.*?)\2)",
                                        QRegularExpression::CaseInsensitiveOption |
                                            QRegularExpression::DotMatchesEverythingOption);
    QString out;
    qsizetype last = 0;
    QRegularExpressionMatchIterator it = src.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString raw = m.captured(3);
        const QString picture = localFile(text::decode8bit(raw.toLatin1()), pageFolder);
        if (picture.isEmpty())
            continue;
        const QString name = paths::bareFileName(picture);
        const QString copy = targetFolder.filePath(name);
        if (QFileInfo(copy).absoluteFilePath() != picture) {
            QFile::remove(copy);
            if (!QFile::copy(picture, copy))
                throw AppError(AppError::PathFileAccess, "Path/File access error");
        }
        copied.append(copy);
        out += html.mid(last, m.capturedStart(3) - last);
        out += raw.mid(std::max(raw.lastIndexOf('/'), raw.lastIndexOf('\\')) + 1);
        last = m.capturedEnd(3);
    }
    out += html.mid(last);
    text::writeAllBytes(target, out.toLatin1());
    return copied;
}
