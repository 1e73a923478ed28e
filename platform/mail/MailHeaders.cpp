#include "platform/mail/MailHeaders.h"

#include <QByteArrayList>
#include <QRegularExpression>

namespace mail::headers {
namespace {

// Longest line we aim for, CRLF not counted (RFC 5322 asks for under 78).
constexpr qsizetype kLine = 76;
// UTF-8 bytes per encoded word: 39 bytes make 52 base64 characters, a word of 64, which fits on a
// continuation line and after "Subject: " on the first.
constexpr qsizetype kWordBytes = 39;
// Characters of a percent-encoded file name per RFC 2231 section.
constexpr qsizetype kSection = 56;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsPlainAscii(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

// Plain text can stand unencoded when every word fits a folded line and nothing looks like an encoded word.
bool CanStandPlain(const QString& text, qsizetype longestWord)
{
    if (!IsPlainAscii(text) || text.contains("=?"))
        return false;
    for (const QString& word : text.split(' '))
        if (word.size() > longestWord)
            return false;
    return true;
}

QByteArray EncodedWords(const QString& text)
{
    QByteArrayList words;
    QByteArray chunk;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QByteArray c = text.mid(i, n).toUtf8();
        if (chunk.size() + c.size() > kWordBytes) {
            words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
            chunk.clear();
        }
        chunk += c;
        i += n;
    }
    if (!chunk.isEmpty())
        words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
    return words.join(' ');
}

// Only printable characters: a name from data never breaks a header line.
QString Printable(const QString& name)
{
    QString out;
    for (QChar c : name)
        if (c.category() != QChar::Other_Control && c != QChar::LineSeparator && c != QChar::ParagraphSeparator)
            out += c;
    return out;
}

// RFC 2231 value characters: attribute-chars stand, everything else is %XX of the UTF-8 bytes.
QByteArrayList PercentSections(const QString& name)
{
    static const QByteArray kept = "!#$&+-.^_`|~";
    QByteArrayList sections{QByteArray()};
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype n = (name[i].isHighSurrogate() && i + 1 < name.size()) ? 2 : 1;
        QByteArray encoded;
        for (char b : name.mid(i, n).toUtf8()) {
            const auto u = uchar(b);
            if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || kept.contains(b))
                encoded += b;
            else
                encoded += '%' + QByteArray::number(u, 16).toUpper().rightJustified(2, '0');
        }
        // A character's bytes stay in one section.
        if (sections.last().size() + encoded.size() > kSection)
            sections << QByteArray();
        sections.last() += encoded;
        i += n;
    }
    return sections;
}

} // namespace

QString OneLine(QString value)
{
    static const QRegularExpression breaks("[\\r\\n\\x{2028}\\x{2029}]+");
    value.replace(breaks, " ");
    return value;
}

QByteArray Fold(const QByteArray& header)
{
    // Lines already broken by the caller are folded each on its own.
    if (header.contains("\r\n")) {
        QByteArrayList lines = header.split('\n');
        for (QByteArray& line : lines)
            line = Fold(line.endsWith('\r') ? line.chopped(1) : line);
        return lines.join("\r\n");
    }
    const QByteArray& line = header;
    qsizetype lastText = line.size() - 1;
    while (lastText >= 0 && IsBlank(line[lastText]))
        --lastText;
    // A blank may start the next line when text stands before it on this line and after it.
    auto foldable = [&](qsizetype start, qsizetype i) {
        if (!IsBlank(line[i]) || i >= lastText)
            return false;
        for (qsizetype j = start; j < i; ++j)
            if (!IsBlank(line[j]))
                return true;
        return false;
    };
    QByteArray out;
    qsizetype start = 0;
    while (line.size() - start > kLine) {
        qsizetype cut = -1;
        for (qsizetype i = start + kLine; i > start && cut < 0; --i)
            if (foldable(start, i))
                cut = i;
        // A word longer than a line: the line ends at the first blank after it.
        for (qsizetype i = start + kLine + 1; i < line.size() && cut < 0; ++i)
            if (foldable(start, i))
                cut = i;
        if (cut < 0)
            break;
        out += line.mid(start, cut - start) + "\r\n";
        start = cut;
    }
    return out + line.mid(start);
}

QByteArray Unstructured(const QString& text)
{
    const QString value = OneLine(text);
    return CanStandPlain(value, kLine - 12) ? value.toLatin1() : EncodedWords(value);
}

QByteArray Mailbox(const QString& name, const QString& address)
{
    const QByteArray angle = "<" + OneLine(address).trimmed().toUtf8() + ">";
    const QString displayName = OneLine(name).trimmed();
    if (displayName.isEmpty())
        return angle;
    if (CanStandPlain(displayName, kLine - 12)) {
        QString quoted = displayName;
        quoted.replace('\\', "\\\\").replace('"', "\\\"");
        return "\"" + quoted.toLatin1() + "\" " + angle;
    }
    return EncodedWords(displayName) + " " + angle;
}

QByteArray Disposition(const QByteArray& kind, const QString& fileName)
{
    const QString name = Printable(fileName);
    if (IsPlainAscii(name) && !name.contains('"') && !name.contains('\\') && name.size() <= kSection) {
        // A quoted name is never folded inside: readers that do not unfold would keep the line break.
        const QByteArray quoted = "filename=\"" + name.toLatin1() + "\"";
        const bool fits = QByteArray("Content-Disposition: ").size() + kind.size() + 2 + quoted.size() <= kLine;
        return kind + (fits ? "; " : ";\r\n ") + quoted;
    }
    const QByteArrayList sections = PercentSections(name);
    if (sections.size() == 1)
        return kind + "; filename*=UTF-8''" + sections[0];
    QByteArray out = kind;
    for (qsizetype i = 0; i < sections.size(); ++i)
        out += "; filename*" + QByteArray::number(i) + "*=" + (i == 0 ? "UTF-8''" : "") + sections[i];
    return out;
}

} // namespace mail::headers
