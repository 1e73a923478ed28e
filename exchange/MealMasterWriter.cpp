// Writes the marked recipes as Meal-Master text.
#include "exchange/ExchangeFrame.h"
#include "platform/text/TextRules.h"

namespace {

// The author line is left out when there is no author to name.
bool hasAuthor(const QString& author)
{
    return !text::trimBlanks(author).isEmpty() && author.compare(QLatin1String("Not Known"), Qt::CaseInsensitive) != 0;
}

// Programs that read Meal-Master refuse a tab character, and read a whole file as UTF-8 for one
// character that needs it: a tab is written as blanks to the next multiple of 8, and U+FFFD (a letter
// that an earlier import already lost) as "?", so that it alone does not turn the file into UTF-8.
QString forOtherPrograms(const QString& text)
{
    constexpr QChar kReplacement(0xFFFD);
    if (!text.contains(u'\t') && !text.contains(kReplacement))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    qsizetype column = 0;
    for (const QChar c : text) {
        if (c == u'\t') {
            const qsizetype blanks = 8 - column % 8;
            out.append(QString(blanks, u' '));
            column += blanks;
            continue;
        }
        out.append(c == kReplacement ? QChar(u'?') : c);
        if (c == u'\r' || c == u'\n')
            column = 0;
        else if (!c.isLowSurrogate())
            ++column;
    }
    return out;
}

void writeRecipe(TextExportRun& run)
{
    text::LineWriter& out = run.out();
    const QString blank = QStringLiteral(" ");
    out.writeLine(QStringLiteral("MMMMM----- Recipe via Meal-Master (tm) v8.06"));
    out.writeLine(blank);
    out.writeLine(forOtherPrograms(QStringLiteral("      Title: ") + run.decoded("TITLE")));
    out.writeLine(forOtherPrograms(QStringLiteral(" Categories: ") + run.decoded("CATEGORY")));
    out.writeLine(forOtherPrograms(QStringLiteral("      Yield: ") + run.decoded("YIELD")));
    out.writeLine(blank);
    QStringList ingredients;
    for (const QString& line : run.ingredientLines())
        if (const QString written = forOtherPrograms(line); !text::trimBlanks(written).isEmpty())
            ingredients << written; // a line of tabs, now blanks, would end the block
    run.writeLines(ingredients, IsMealMasterMarkerLine);
    out.writeLine(blank);
    run.writeText(forOtherPrograms(run.instructions()), IsMealMasterMarkerLine);
    out.writeLine(blank);
    const QString author = forOtherPrograms(run.decoded("AUTHOR"));
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
