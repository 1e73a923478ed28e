#include "browser/PageText.h"

#include "platform/text/TextRules.h"

#include <QRegularExpression>

namespace pagetext {
namespace {

constexpr QChar kBreak(0x200B); // zero width space

// A break may go before `c` unless it would part a character from its marks or a joined sequence.
bool BreakBefore(QChar c, QChar previous)
{
    return !c.isLowSurrogate() && !c.isMark() && c.unicode() != 0x200D && previous.unicode() != 0x200D;
}

QString Convert(const QString& s, bool breakRuns)
{
    QString out;
    out.reserve(s.size() + s.size() / 16);
    qsizetype run = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (breakRuns) {
            if (c.isSpace()) {
                run = 0;
            } else {
                if (run >= kLongestRun && BreakBefore(c, s[i - 1])) {
                    out += kBreak;
                    run = 0;
                }
                ++run;
            }
        }
        switch (c.unicode()) {
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '&': out += QLatin1String("&amp;"); break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

QString Html(const QString& stored) { return Convert(text::decodeApostrophes(stored), true); }

QString Escaped(const QString& value) { return Convert(value, false); }

QString Unescaped(const QString& html)
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

QString CutNote()
{
    return QStringLiteral("<br><br>(This recipe is too long to show here in full. "
                          "Open it in the recipe editor to see the rest.)");
}

QString ShownText::take(const QString& stored)
{
    cutHere_ = false;
    if (left_ < 0 || stored.size() <= left_) {
        if (left_ >= 0)
            left_ -= stored.size();
        return stored;
    }
    if (cut_)
        return {};
    qsizetype n = left_;
    if (n > 0 && stored[n - 1].isHighSurrogate())
        --n;
    if (n >= 2) {
        const qsizetype lineEnd = stored.lastIndexOf(QLatin1String("\r\n"), n - 2);
        if (lineEnd >= n / 2)
            n = lineEnd;
    }
    left_ = 0;
    cut_ = cutHere_ = true;
    return stored.left(n);
}

} // namespace pagetext
