#include "exchange/FormatDetection.h"

#include "exchange/cImport.h"

#include <QStringMatcher>

bool IsMasterCookStartLine(const QString& line)
{
    // Cheap test first: the scanning loop asks this of every line of a file.
    if (!line.contains(QLatin1String("MasterCook")))
        return false;
    return cImport::RemoveDoubleSpaces(line).contains(QLatin1String("Exported from MasterCook"));
}

bool IsCompuChefStartLine(const QString& line)
{
    return line.contains(QLatin1String("*****"));
}

bool IsCompuChefTrailerLine(const QString& line)
{
    static const QStringMatcher trailer(QString::fromLatin1(kCompuChefTrailer));
    return trailer.indexIn(line) >= 0;
}
