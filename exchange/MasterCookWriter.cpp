// Writes the marked recipes as MasterCook export text, laid out so that our own reader takes every
// field back.
#include "exchange/ExchangeFrame.h"

namespace {

const QString kSeparator = QStringLiteral(" ");

void writeRecipe(TextExportRun& run)
{
    text::LineWriter& out = run.out();
    out.writeLine(QString(21, u' ') + QStringLiteral("*  Exported from  MasterCook  *"));
    out.writeLine(kSeparator);
    out.writeLine(GuardedLine(run.decoded("Title"), IsMasterCookMarkerLine));
    out.writeLine(kSeparator);
    out.writeLine(QStringLiteral("Recipe By     : ") + run.decoded("Author"));
    // The serving size in a field of its own, ended by the time label.
    out.writeLine(QStringLiteral("Serving Size  : ") + run.decoded("Yield").leftJustified(5) + u' ' +
                  QStringLiteral("Preperation Time :") + run.decoded("PrepTime"));
    out.writeLine(QStringLiteral("Categories    : ") + run.decoded("Category").replace(u',', u'\t'));
    out.writeLine(kSeparator);
    out.writeLine(QStringLiteral("  Amount  Measure       Ingredient -- Preparation Method"));
    out.writeLine(QStringLiteral("--------  ------------  --------------------------------"));
    run.writeLines(run.ingredientLines(), IsMasterCookMarkerLine);
    out.writeLine(kSeparator);
    run.writeText(run.instructions(), IsMasterCookMarkerLine);
    out.writeLine(kSeparator);
    if (!run.row().isNull("Author")) {
        out.writeLine(GuardedLine(run.decoded("Author"), IsMasterCookMarkerLine));
        out.writeLine(kSeparator);
    }
    if (!run.row().isNull("CaloriesPerServing"))
        out.writeLine(run.decoded("CaloriesPerServing") + QStringLiteral(" calories per serving"));
    out.writeLine(QLatin1String(kMasterCookEndRule));
    out.writeLine(kSeparator);
}

} // namespace

void cExport::ExportMasterCook(const QString& path)
{
    TextExportRun::writeAll(*this, path, writeRecipe);
}
