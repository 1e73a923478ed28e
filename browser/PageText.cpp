#include "browser/PageText.h"

#include "platform/text/PageReferences.h"
#include "platform/text/TextRules.h"

#include <QRegularExpression>
#include <unicode/uchar.h>

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
        case '"': out += QLatin1String("&quot;"); break;
        case '\'': out += QLatin1String("&#39;"); break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

QString Html(const QString& stored, bool breakRuns) { return Convert(text::decodeApostrophes(stored), breakRuns); }

QString Escaped(const QString& value) { return Convert(value, false); }

QString Unescaped(const QString& html) { return text::ResolveReferences(html); }

QString Fill(const QString& page, const QHash<QString, QString>& values, const QString& keepHashes)
{
    QStringList names;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        names << QRegularExpression::escape(it.key());
    names.sort();
    // A page is filled at every click: the expression for each set of names is made once.
    static QHash<QString, QRegularExpression> expressions;
    const QString pattern = names.isEmpty() ? QStringLiteral("(?!)") : "%(" + names.join('|') + ")%";
    auto found = expressions.find(pattern);
    if (found == expressions.end())
        found = expressions.insert(pattern, QRegularExpression(pattern));
    const QRegularExpression& placeholder = *found;
    QString out, run; // run: what "##" is turned into a blank in, up to the next kept value
    out.reserve(page.size());
    qsizetype at = 0;
    for (auto it = placeholder.globalMatch(page); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto value = values.constFind(m.captured(1));
        run += QStringView(page).sliced(at, m.capturedStart() - at);
        if (m.captured(1) == keepHashes) {
            out += run.replace(QLatin1String("##"), QLatin1String(" "));
            out += *value;
            run.clear();
        } else {
            run += *value;
        }
        at = m.capturedEnd();
    }
    run += QStringView(page).sliced(at);
    out += run.replace(QLatin1String("##"), QLatin1String(" "));
    return out;
}

QString CutNote()
{
    return QStringLiteral("<br><br>(This recipe is too long to show here in full. "
                          "Open it in the recipe editor to see the rest.)");
}

namespace {

// What a character costs the view to lay out, counted in Latin letters: a wide East Asian character
// (kana, kanji, hangul) takes several times as long.
constexpr qsizetype kWideCost = 4;

qsizetype LayoutCost(QChar c)
{
    if (c.unicode() < 0x1100)
        return 1;
    if (c.isSurrogate())
        return kWideCost / 2;
    const auto width = static_cast<UEastAsianWidth>(u_getIntPropertyValue(c.unicode(), UCHAR_EAST_ASIAN_WIDTH));
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? kWideCost : 1;
}

} // namespace

QString ShownText::take(const QString& stored)
{
    cutHere_ = false;
    if (left_ < 0)
        return stored;
    qsizetype fits = 0, cost = 0; // how many characters fit in what is left, and their cost
    while (fits < stored.size() && cost + LayoutCost(stored[fits]) <= left_)
        cost += LayoutCost(stored[fits++]);
    if (fits == stored.size()) {
        left_ -= cost;
        return stored;
    }
    if (cut_)
        return {};
    qsizetype n = fits;
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
