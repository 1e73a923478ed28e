#include "platform/text/PageEncoding.h"

#include "platform/text/Codec.h"

#include <QRegularExpression>
#include <QStringList>

#include <optional>

namespace text {
namespace {

// The encoding a meta element declares, when it declares one the program writes.
std::optional<PageEncoding> DeclaredEncoding(const QByteArray& bytes)
{
    static const QRegularExpression meta(QStringLiteral(R"(<meta\b[^>]*?charset\s*=\s*["']?\s*([A-Za-z0-9_.:-]+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = meta.match(QString::fromLatin1(bytes));
    if (!m.hasMatch())
        return std::nullopt;
    const QString name = m.captured(1).toLower();
    if (name == "utf-8" || name == "utf8")
        return PageEncoding::Utf8;
    // Browsers read all of these as Windows-1252.
    static const QStringList cp1252{"windows-1252", "cp1252", "x-cp1252", "iso-8859-1", "iso8859-1", "iso_8859-1",
                                    "latin1", "latin-1", "l1", "us-ascii", "ascii", "ansi_x3.4-1968"};
    if (cp1252.contains(name))
        return PageEncoding::Windows1252;
    return std::nullopt;
}

} // namespace

PageEncoding PageEncodingOf(const QByteArray& bytes)
{
    if (const std::optional<PageEncoding> declared = DeclaredEncoding(bytes))
        return *declared;
    return isValidUtf8(bytes) ? PageEncoding::Utf8 : PageEncoding::Windows1252;
}

QString DecodePage(const QByteArray& bytes) { return DecodePage(bytes, PageEncodingOf(bytes)); }

QString DecodePage(const QByteArray& bytes, PageEncoding encoding)
{
    return encoding == PageEncoding::Windows1252 ? fromCp1252(bytes) : decode8bit(bytes);
}

QByteArray EncodePage(const QString& text, PageEncoding encoding)
{
    return encoding == PageEncoding::Utf8 ? text.toUtf8() : toCp1252Html(text);
}

} // namespace text
