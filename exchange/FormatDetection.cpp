#include "exchange/FormatDetection.h"

#include "exchange/cImport.h"
#include "platform/text/TextRules.h"

#include <QStringMatcher>
#include <algorithm>

bool IsMealMasterStartLine(QStringView line)
{
    // Every line of a file is tested, so the rare dash run is looked for first, by hand.
    int dashes = 0;
    for (QChar c : line) {
        dashes = c == u'-' ? dashes + 1 : 0;
        if (dashes == 5)
            return line.contains(u"Meal-Master");
    }
    return false;
}

bool IsMealMasterEndLine(QStringView line)
{
    if (text::trimBlanksView(line) == u"MMMMM")
        return true;
    qsizetype dashes = 0;
    while (dashes < line.size() && line[dashes] == u'-')
        ++dashes;
    if (dashes < 5)
        return false;
    for (qsizetype i = dashes; i < line.size(); ++i)
        if (line[i] != u' ')
            return false;
    return true;
}

bool IsMasterCookStartLine(const QString& line)
{
    // Cheap test first: the scanning loop asks this of every line of a file.
    static const QStringMatcher name(QStringLiteral("MasterCook"));
    if (name.indexIn(line) < 0)
        return false;
    return cImport::RemoveDoubleSpaces(line).contains(QLatin1String("Exported from MasterCook"));
}

bool IsMasterCookEndRule(QStringView line)
{
    // Every line a writer writes is tested: one pass, nothing allocated.
    const QStringView rule = text::trimBlanksView(line);
    int groups = 0;
    for (qsizetype i = 0; i < rule.size(); ++i) { // i: the start of a group
        qsizetype dashes = 0;
        while (i < rule.size() && rule[i] == u'-') {
            ++dashes;
            ++i;
        }
        if (dashes == 0 || dashes > 2 || (i < rule.size() && rule[i] != u' '))
            return false;
        ++groups;
    }
    return groups >= 4;
}

namespace {
// The line without the blanks and NULs that Compu-Chef lines may carry around them.
QStringView framedPart(const QString& line)
{
    qsizetype from = 0, to = line.size();
    while (from < to && (line[from] == u' ' || line[from] == QChar(0)))
        ++from;
    while (to > from && (line[to - 1] == u' ' || line[to - 1] == QChar(0)))
        --to;
    return QStringView(line).sliced(from, to - from);
}
} // namespace

bool IsCompuChefStartLine(const QString& line)
{
    const QStringView t = framedPart(line);
    return t.size() >= 5 && std::all_of(t.begin(), t.end(), [](QChar c) { return c == u'*'; });
}

bool IsCompuChefTitleLine(const QString& line)
{
    const QStringView t = framedPart(line);
    return t.size() > 12 && t.startsWith(u"******") && t.endsWith(u"******") &&
           !std::all_of(t.begin(), t.end(), [](QChar c) { return c == u'*'; });
}

bool IsCompuChefTrailerLine(const QString& line)
{
    static const QStringMatcher trailer(QString::fromLatin1(kCompuChefTrailer));
    return trailer.indexIn(line) >= 0;
}

// ---------------------------------------------------------------- lines a writer guards
namespace {
bool startsWithLabel(const QString& line, QLatin1String label)
{
    return text::trimBlanksView(line).startsWith(label, Qt::CaseInsensitive);
}
} // namespace

bool IsMealMasterMarkerLine(const QString& line)
{
    // Other programs end a recipe at "MMMMM" or "-----" from the first column, whatever follows. A title
    // line is guarded too: it tells a header indented by one blank from a guarded line that looks like one.
    return IsMealMasterStartLine(line) || IsMealMasterEndLine(line) || line.startsWith(QLatin1String("MMMMM")) ||
           line.startsWith(QLatin1String("-----")) || startsWithLabel(line, QLatin1String("Title:"));
}

bool IsMasterCookMarkerLine(const QString& line)
{
    return IsMasterCookStartLine(line) || IsMasterCookEndRule(line) ||
           startsWithLabel(line, QLatin1String("Recipe By")) || startsWithLabel(line, QLatin1String("Categories"));
}

bool IsCompuChefMarkerLine(const QString& line)
{
    return IsCompuChefStartLine(line) || IsCompuChefTitleLine(line) || IsCompuChefTrailerLine(line);
}

QString GuardedLine(const QString& line, MarkerLineTest isMarker)
{
    return isMarker(line) ? u' ' + text::trimLeftBlanks(line) : line;
}

bool IsGuardedLine(const QString& line, MarkerLineTest isMarker)
{
    return line.size() > 1 && line[0] == u' ' && line[1] != u' ' && isMarker(line.mid(1));
}
