#include "exchange/EmailPages.h"

#include "platform/mail/SendMail.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/PageEncoding.h"
#include "platform/text/LineFile.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace emailpages {

QByteArray PictureReference(const QByteArray& page)
{
    const qsizetype src = page.indexOf("src=");
    if (src < 0)
        return {};
    const qsizetype open = page.indexOf('"', src);
    const qsizetype close = open < 0 ? -1 : page.indexOf('"', open + 1);
    if (close < 0)
        return {};
    return page.mid(open + 1, close - open - 1);
}

QString GetPictureName(const QByteArray& page)
{
    const QByteArray reference = PictureReference(page);
    QString name = text::DecodePage(reference, mail::SendMail::htmlCharset(page));
    static const QRegularExpression numeric(QStringLiteral("&#(x?)([0-9A-Fa-f]+);"));
    QString resolved;
    qsizetype at = 0;
    for (auto it = numeric.globalMatch(name); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        resolved += name.mid(at, m.capturedStart() - at);
        const uint code = m.captured(2).toUInt(nullptr, m.captured(1).isEmpty() ? 10 : 16);
        resolved += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        at = m.capturedEnd();
    }
    resolved += name.mid(at);
    resolved.replace("&amp;", "&");
    return paths::nameFromData(resolved);
}

QByteArray ReplaceReference(QByteArray page, const QByteArray& reference, const QByteArray& replacement)
{
    return reference.isEmpty() ? page : page.replace(reference, replacement);
}

QString StripPicturePath(const QString& pagePath, const QString& folder)
{
    const QByteArray page = text::readAllBytes(pagePath);
    const QString name = GetPictureName(page);
    if (name.isEmpty())
        return {};
    const QString picture = paths::resolveAbsolute(folder + '/' + name);
    if (!QFileInfo(picture).isFile())
        return {};
    const QByteArray reference = PictureReference(page);
    const qsizetype cut = qMax(reference.lastIndexOf('/'), reference.lastIndexOf('\\'));
    text::writeAllBytes(pagePath, ReplaceReference(page, reference, reference.mid(cut + 1)));
    return picture;
}

QByteArray MessageAsHtml(const QString& message)
{
    QString html = message.toHtmlEscaped();
    html.replace("\r\n", "\n").replace('\r', '\n').replace(QChar(0x2029), '\n');
    html.replace("\n", "<br>\r\n");
    QByteArray out;
    for (char32_t c : html.toUcs4())
        out += c < 0x80 ? QByteArray(1, char(c)) : "&#" + QByteArray::number(uint(c)) + ";";
    return out;
}

} // namespace emailpages
