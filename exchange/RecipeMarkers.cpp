#include "exchange/RecipeMarkers.h"

#include "exchange/FormatDetection.h"
#include "exchange/cImport.h"

#include <QStringList>

namespace {
const QString kMealMaster = QStringLiteral("MealMaster");
const QString kCompuChef = QStringLiteral("CompuChef");
const QString kMasterCook = QStringLiteral("MasterCook");
const QString kXml = QStringLiteral("XML");

bool isCompuChefMarkerLine(const QString& line) { return line.contains(QLatin1String("Recipe Via Compu-Chef")); }
bool isXmlMarkerLine(const QString& line) { return line.contains(QLatin1String("<xml")); }
} // namespace

QString FileLineFormat(const QString& line)
{
    if (IsMasterCookStartLine(line))
        return kMasterCook;
    if (IsMealMasterStartLine(line))
        return kMealMaster;
    if (isCompuChefMarkerLine(line))
        return kCompuChef;
    if (isXmlMarkerLine(line))
        return kXml;
    return {};
}

QString ClipboardTextFormat(const QString& text)
{
    const QStringList lines = text.split(QChar('\n'));
    const auto anyLine = [&lines](auto test) {
        for (const QString& line : lines)
            if (test(line))
                return true;
        return false;
    };
    if (anyLine(IsMealMasterStartLine))
        return kMealMaster;
    if (text.contains(QLatin1String(kCompuChefTrailer)))
        return kCompuChef;
    if (anyLine(IsMasterCookStartLine))
        return kMasterCook;
    if (text.contains(QLatin1String("<xml")))
        return kXml;
    return {};
}

bool ImportWithReader(cImport& reader, const QString& format, const QString& path)
{
    if (format == kMealMaster)
        return reader.ImportMealMaster(path);
    if (format == kCompuChef)
        return reader.ImportCompuChef(path);
    if (format == kMasterCook)
        return reader.ImportMasterCook(path);
    if (format == kXml)
        return reader.ImportXML(path);
    return false;
}
