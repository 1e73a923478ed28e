#include "platform/text/PageEncoding.h"

#include "platform/text/Codec.h"

#include <QRegularExpression>
#include <QStringList>

#include <optional>

namespace text {
namespace {

const QByteArray kUtf8 = "utf-8";

// The charset a meta element declares, when Qt knows it.
std::optional<QByteArray> DeclaredCharset(const QByteArray& bytes)
{
    static const QRegularExpression meta(QStringLiteral(R"(<meta\b[^>]*?charset\s*=\s*["']?\s*([A-Za-z0-9_.:-]+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = meta.match(QString::fromLatin1(bytes));
    if (!m.hasMatch())
        return std::nullopt;
    const QByteArray declared = m.captured(1).toLatin1();
    const QByteArray name = declared.toLower();
    // A page that declares UTF-16 is read as UTF-8 by browsers: its bytes are ASCII-compatible.
    if (name == "utf-8" || name == "utf8" || name.startsWith("utf-16"))
        return kUtf8;
    // Browsers read all of these as Windows-1252.
    static const QList<QByteArray> cp1252{"windows-1252", "cp1252", "x-cp1252", "iso-8859-1", "iso8859-1",
                                          "iso_8859-1", "latin1", "latin-1", "l1", "us-ascii", "ascii",
                                          "ansi_x3.4-1968"};
    if (cp1252.contains(name))
        return QByteArray("windows-1252");
    if (isKnownCharset(declared))
        return declared;
    return std::nullopt;
}

} // namespace

QByteArray PageCharset(const QByteArray& bytes)
{
    if (const std::optional<QByteArray> declared = DeclaredCharset(bytes))
        return *declared;
    return isValidUtf8(bytes) ? kUtf8 : localCodePage();
}

QString DecodePage(const QByteArray& bytes) { return DecodePage(bytes, PageCharset(bytes)); }

QString DecodePage(const QByteArray& bytes, const QByteArray& charset)
{
    return charset == kUtf8 ? decode8bit(bytes) : decodeAs(bytes, charset);
}

QByteArray EncodePage(const QString& text, const QByteArray& charset)
{
    return charset == kUtf8 ? text.toUtf8() : encodeWithReferences(text, charset);
}

} // namespace text
