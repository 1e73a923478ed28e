// Writes the marked recipes as Compu-Chef text: a framed title, the categories, three detail lines, the
// ingredients and the directions under their rules, and the trailer. Every field is written with "$$"
// turned back into "'".
#include "exchange/FormatDetection.h"
#include "exchange/ExchangeFrame.h"
#include "exchange/cExport.h"

#include "platform/text/TextRules.h"

namespace {

const QString kDashes(60, '-');

void writeRecipe(TextExportRun& run)
{
    text::LineWriter& out = run.out();
    const QString title = run.decoded("TITLE");
    const QString frame(text::trimBlanks(title).size() + 14, '*');

    out.writeLine(frame);
    out.writeLine("****** " + title + " ******");
    out.writeLine(frame);
    out.writeLine(" ");
    // Names joined with ",", as stored. A single name holding a blank gets a closing "," so that it is read
    // back as one name, not split at its blanks.
    QString categories = run.decoded("CATEGORY");
    if (categories.contains(u' ') && !categories.contains(u',') && !categories.contains(u'\t'))
        categories += u',';
    out.writeLine("Categories: " + categories);
    out.writeLine("Calories     per serving: " + run.decoded("CALORIESPERSERVING") + '\t' +
                  QString("Number of Servings: ").rightJustified(30) + run.decoded("YIELD"));
    out.writeLine("Fat grams    per serving: \t" + QString("Approx. Cook Time: ").rightJustified(30) +
                  run.decoded("TOTALTIME"));
    out.writeLine("Cholesterol  per serving: \t" + QString("Marks: ").rightJustified(30));
    out.writeLine(" ");
    out.writeLine("INGREDIENTS " + kDashes);
    out.writeLine(" ");
    run.writeLines(run.ingredientLines(), IsCompuChefMarkerLine);
    out.writeLine(" ");
    out.writeLine("DIRECTIONS  " + kDashes);
    out.writeLine(" ");
    run.writeText(run.instructions(), IsCompuChefMarkerLine);
    out.writeLine(" ");
    out.writeLine(QLatin1String(kCompuChefTrailer));
    out.writeLine(" ");
}

} // namespace

void cExport::ExportCompuChef(const QString& path)
{
    TextExportRun::writeAll(*this, path, writeRecipe);
}
