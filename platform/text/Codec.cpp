#include "platform/text/Codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace text {
bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}

bool isAscii(QStringView s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(decoder(bytes));
    return !decoder.hasError();
}

namespace {
// The length of the bytes less a character whose sequence the end of the bytes cuts short.
qsizetype wholeCharacters(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    for (qsizetype back = 1; back <= std::min<qsizetype>(3, n); ++back) {
        const auto c = static_cast<unsigned char>(bytes[n - back]);
        if ((c & 0xC0) == 0x80)
            continue;
        const qsizetype length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? n - back : n;
    }
    return n;
}
} // namespace

bool Utf8Check::add(QByteArrayView piece)
{
    if (!valid_)
        return false;
    if (!pending_.isEmpty()) { // finish the cut character first
        qsizetype take = 0;
        while (take < piece.size() && take < 3 && (static_cast<unsigned char>(piece[take]) & 0xC0) == 0x80)
            ++take;
        pending_.append(piece.first(take));
        piece = piece.sliced(take);
        const qsizetype whole = wholeCharacters(pending_);
        if (whole < pending_.size() && piece.isEmpty() && pending_.size() < 4)
            return true; // still cut: the next piece may finish it
        valid_ = whole == pending_.size() && QByteArrayView(pending_).isValidUtf8();
        pending_.clear();
        if (!valid_)
            return false;
    }
    const qsizetype whole = wholeCharacters(piece);
    valid_ = piece.first(whole).isValidUtf8();
    if (valid_)
        pending_ = piece.sliced(whole).toByteArray();
    return valid_;
}

QByteArray codePageOf(const QLocale& locale)
{
    const bool cyrillic = locale.script() == QLocale::CyrillicScript;
    switch (locale.language()) {
    case QLocale::Albanian: case QLocale::Croatian: case QLocale::Czech: case QLocale::Hungarian:
    case QLocale::Polish: case QLocale::Romanian: case QLocale::Slovak: case QLocale::Slovenian:
    case QLocale::Turkmen:
        return "windows-1250";
    case QLocale::Bosnian: case QLocale::Serbian:
        return cyrillic ? "windows-1251" : "windows-1250";
    case QLocale::Bashkir: case QLocale::Belarusian: case QLocale::Bulgarian: case QLocale::Kazakh:
    case QLocale::Kyrgyz: case QLocale::Macedonian: case QLocale::Mongolian: case QLocale::Russian:
    case QLocale::Sakha: case QLocale::Tajik: case QLocale::Tatar: case QLocale::Ukrainian:
        return "windows-1251";
    case QLocale::Greek:
        return "windows-1253";
    case QLocale::Azerbaijani: case QLocale::Uzbek:
        return cyrillic ? "windows-1251" : "windows-1254";
    case QLocale::Turkish:
        return "windows-1254";
    case QLocale::Hebrew: case QLocale::Yiddish:
        return "windows-1255";
    case QLocale::Arabic: case QLocale::Persian: case QLocale::Urdu: case QLocale::Uyghur:
        return "windows-1256";
    case QLocale::Estonian: case QLocale::Latvian: case QLocale::Lithuanian:
        return "windows-1257";
    case QLocale::Vietnamese:
        return "windows-1258";
    case QLocale::Thai:
        return "windows-874";
    case QLocale::Japanese:
        return "Shift_JIS";
    case QLocale::Chinese:
        return locale.script() == QLocale::TraditionalHanScript ? "Big5" : "GBK";
    case QLocale::Korean:
        return "windows-949";
    default:
        return "windows-1252";
    }
}

QByteArray localCodePage() { return codePageOf(QLocale()); }

bool isKnownCharset(const QByteArray& charset)
{
    return !charset.isEmpty() && QStringDecoder(charset.constData()).isValid();
}

QString decodeAs(QByteArrayView bytes, const QByteArray& charset)
{
    QStringDecoder decoder(charset.constData(), QStringDecoder::Flag::Stateless);
    return decoder.isValid() ? QString(decoder(bytes)) : QString::fromLatin1(bytes);
}

std::optional<QByteArray> encodeExactly(QStringView text, const QByteArray& charset)
{
    QStringEncoder encoder(charset.constData(), QStringEncoder::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QByteArray encodeWithReferences(const QString& text, const QByteArray& charset)
{
    if (const std::optional<QByteArray> whole = encodeExactly(text, charset))
        return *whole;

    // Piece by piece, and a piece that does not fit character by character, so that a long page with
    // a few strangers in it stays quick.
    constexpr qsizetype kPiece = 256;
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype from = 0; from < text.size();) {
        qsizetype to = std::min(from + kPiece, text.size());
        if (to < text.size() && text[to].isLowSurrogate())
            --to;
        const QStringView piece = QStringView(text).sliced(from, to - from);
        if (const std::optional<QByteArray> bytes = encodeExactly(piece, charset)) {
            out += *bytes;
        } else {
            for (qsizetype i = 0; i < piece.size(); ++i) {
                const qsizetype n = piece[i].isHighSurrogate() && i + 1 < piece.size() ? 2 : 1;
                const QStringView character = piece.sliced(i, n);
                if (const std::optional<QByteArray> one = encodeExactly(character, charset))
                    out += *one;
                else
                    out += "&#" + QByteArray::number(character.toUcs4().value(0)) + ';';
                i += n - 1;
            }
        }
        from = to;
    }
    return out;
}

QString decode8bit(QByteArrayView bytes)
{
    // Plain ASCII, most lines of most files, reads the same either way.
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString s = decoder(bytes);
    if (decoder.hasError())
        return decodeAs(bytes, localCodePage());
    if (s.startsWith(QChar(0xFEFF)))
        s.remove(0, 1);
    return s;
}

std::optional<QByteArray> encode8bit(QStringView text, const QByteArray& codePage)
{
    if (isAscii(text))
        return text.toLatin1();
    return encodeExactly(text, codePage);
}

} // namespace text
