// Writes the marked recipes as Meal-Master text.
#include "exchange/ExchangeFrame.h"
#include "platform/text/TextRules.h"

namespace {

// The author line is left out when there is no author to name.
bool hasAuthor(const QString& author)
{
    return !text::trimBlanks(author).isEmpty() && author.compare(QLatin1String("Not Known"), Qt::CaseInsensitive) != 0;
}

void writeRecipe(TextExportRun& run)
{
    text::LineWriter& out = run.out();
    const QString blank = QStringLiteral(" ");
    out.writeLine(QStringLiteral("MMMMM----- Recipe via Meal-Master (tm) v8.06"));
    out.writeLine(blank);
    out.writeLine(QStringLiteral("      Title: ") + run.decoded("TITLE"));
    out.writeLine(QStringLiteral(" Categories: ") + run.decoded("CATEGORY"));
    out.writeLine(QStringLiteral("      Yield: ") + run.decoded("YIELD"));
    out.writeLine(blank);
    run.writeLines(run.ingredientLines(), IsMealMasterMarkerLine);
    out.writeLine(blank);
    run.writeText(run.instructions(), IsMealMasterMarkerLine);
    out.writeLine(blank);
    const QString author = run.decoded("AUTHOR");
    if (hasAuthor(author)) {
        out.writeLine(GuardedLine(author, IsMealMasterMarkerLine));
        out.writeLine(blank);
    }
    out.writeLine(QStringLiteral("MMMMM"));
    out.writeLine(blank);
}

} // namespace

void cExport::ExportMealMaster(const QString& path)
{
    TextExportRun::writeAll(*this, path, writeRecipe);
}
