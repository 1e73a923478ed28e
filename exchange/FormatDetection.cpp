#include "exchange/FormatDetection.h"

#include "exchange/cImport.h"

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

bool IsMasterCookStartLine(const QString& line)
{
    // Cheap test first: the scanning loop asks this of every line of a file.
    static const QStringMatcher name(QStringLiteral("MasterCook"));
    if (name.indexIn(line) < 0)
        return false;
    return cImport::RemoveDoubleSpaces(line).contains(QLatin1String("Exported from MasterCook"));
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
    return t.size() > 12 && t.startsWith(u"******") && t.endsWith(u"******");
}

bool IsCompuChefTrailerLine(const QString& line)
{
    static const QStringMatcher trailer(QString::fromLatin1(kCompuChefTrailer));
    return trailer.indexIn(line) >= 0;
}
