#include "exchange/FormatDetection.h"

#include "exchange/cImport.h"

bool IsMasterCookStartLine(const QString& line)
{
    // Cheap test first: the scanning loop asks this of every line of a file.
    if (!line.contains(QLatin1String("MasterCook")))
        return false;
    return cImport::RemoveDoubleSpaces(line).contains(QLatin1String("Exported from MasterCook"));
}
