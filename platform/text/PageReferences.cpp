#include "platform/text/PageReferences.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QUrl>

namespace text {

QString ResolveReferences(const QString& html)
{
    if (!html.contains(u'&'))
        return html;
    static const QRegularExpression reference(QStringLiteral("&(?:#([0-9]{1,7})|#[xX]([0-9A-Fa-f]{1,6})|(amp|lt|gt|quot|apos));"));
    QString out;
    qsizetype at = 0;
    for (auto it = reference.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(html).sliced(at, m.capturedStart() - at);
        if (!m.captured(3).isEmpty()) {
            static const QHash<QString, QChar> named{{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
            out += named.value(m.captured(3));
        } else {
            const char32_t code = m.captured(1).isEmpty() ? m.captured(2).toUInt(nullptr, 16) : m.captured(1).toUInt();
            out += QString::fromUcs4(&code, 1);
        }
        at = m.capturedEnd();
    }
    out += QStringView(html).sliced(at);
    return out;
}

QString ReferencedFile(const QString& value, const QString& pageFolder)
{
    QString path = value.trimmed();
    if (path.startsWith("file:", Qt::CaseInsensitive))
        path = QUrl(path).toLocalFile();
    else if (QRegularExpression("^[A-Za-z][A-Za-z0-9+.-]+:").match(path).hasMatch())
        return {};
    if (path.isEmpty())
        return {};
    return QFileInfo(QDir::isRelativePath(path) ? QDir(pageFolder).filePath(path) : path).absoluteFilePath();
}

QByteArray AttributeBytes(const QString& value)
{
    QByteArray out;
    for (char32_t c : value.toUcs4()) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c < 0x80 ? QByteArray(1, char(c)) : "&#" + QByteArray::number(uint(c)) + ";";
        }
    }
    return out;
}

QString CarriableFileName(const QString& name)
{
    QString out = name;
    for (QChar& c : out)
        if (c.category() == QChar::Other_Control || QStringView(u"\"'<>%#?*|:;").contains(c))
            c = u'_';
    return out;
}

} // namespace text
