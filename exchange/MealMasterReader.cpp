// Reads Meal-Master files: each recipe runs from a header line to an end line.
#include "core/basMain.h"
#include "core/basDatabase.h"
#include "exchange/ExchangeFrame.h"
#include "exchange/FormatDetection.h"
#include "platform/text/TextRules.h"

#include <QStringView>

namespace {

bool isBlank(QStringView line) { return text::trimBlanksView(line).isEmpty(); }

// The text after the first ":" (the whole line without one), trimmed.
QString afterColon(QStringView line)
{
    const qsizetype colon = line.indexOf(u':');
    return text::trimBlanksView(colon < 0 ? line : line.sliced(colon + 1)).toString();
}

QString titleFrom(QStringView line)
{
    QString title = text::encodeApostrophes(afterColon(line));
    title.remove(u'"');
    return text::properCase(title);
}

QString categoriesFrom(QStringView line)
{
    const QString categories = afterColon(line);
    return categories.size() < 3 ? QStringLiteral("Unknown") : categories;
}

// From the first digit to the end of the line, untrimmed; "" when the line holds none.
QString yieldFrom(QStringView line)
{
    for (qsizetype i = 0; i < line.size(); ++i)
        if (line[i] >= u'0' && line[i] <= u'9')
            return line.sliced(i).toString();
    return {};
}

// The lines of one recipe. read() is false at the line that ends the recipe: its end line, or the
// header of the next recipe (then nextStarts is set, and that recipe is read at once).
class RecipeLines {
public:
    explicit RecipeLines(text::LineReader& in) : in_(in) {}

    bool read()
    {
        line = in_.readLine();
        if (IsGuardedLine(line, IsMealMasterMarkerLine)) { // a line of text, as a writer guarded it
            line.remove(0, 1);
            return true;
        }
        if (IsMealMasterStartLine(line)) {
            nextStarts = true;
            return false;
        }
        return !IsMealMasterEndLine(line);
    }

    QString line;
    bool nextStarts = false;

private:
    text::LineReader& in_;
};

// Reads one recipe after its header line and stores it unless its title is stored already. Returns
// true when the recipe ended at the header of the next one.
bool readRecipe(TextImportRun& run)
{
    RecipeLines lines(run.in());

    bool more;
    while ((more = lines.read()) && isBlank(lines.line)) {
    }
    if (!more) // a header with no recipe under it: nothing to store, and no title to count as skipped
        return lines.nextStarts;
    const QString title = titleFrom(lines.line);
    if (run.titleExists(title)) {
        run.recipeSkipped();
        return false; // its lines are scanned for the next header
    }

    QString categories, yield, ingredients, instructions;
    if ((more = lines.read())) {
        categories = lines.line;
        more = lines.read();
    }
    categories = categoriesFrom(categories);
    if (more) {
        yield = yieldFrom(lines.line);
        while ((more = lines.read()) && isBlank(lines.line)) {
        }
    }
    if (more) {
        ingredients = text::trimBlanksView(lines.line).toString();
        while ((more = lines.read()) && !isBlank(lines.line))
            ingredients.append(u"\r\n").append(text::trimBlanksView(lines.line));
    }
    bool firstInstruction = true;
    while (more && (more = lines.read())) {
        if (firstInstruction) {
            if (isBlank(lines.line))
                continue;
            instructions = text::trimBlanksView(lines.line).toString();
            firstInstruction = false;
        } else {
            instructions.append(u"\r\n").append(lines.line);
        }
    }

    RecipeColumns columns{
        {QStringLiteral("TITLE"), title},
        {QStringLiteral("AUTHOR"), QStringLiteral("Not known")},
        {QStringLiteral("CATEGORY"), text::encodeApostrophes(categories)},
        {QStringLiteral("YIELD"), text::encodeApostrophes(yield)},
        {QStringLiteral("INSTRUCTIONS"), text::encodeApostrophes(instructions)},
        {QStringLiteral("INGREDIENTS"), text::encodeApostrophes(ingredients)},
    };
    instructions = QString(); // the columns hold the only copy of a long text
    run.insertRecipe(std::move(columns));
    return lines.nextStarts;
}

} // namespace

bool cImport::ImportMealMaster(const QString& path)
{
    try {
        TextImportRun run(*this, path);
        bool nextStarts = false; // the last recipe ended at the header of the next one
        while (nextStarts ? !basMain::bCancelImport : run.scanning()) {
            if (!nextStarts && !IsMealMasterStartLine(run.in().readLine()))
                continue;
            run.recipeFound();
            yieldToEventLoop();
            nextStarts = run.readRecipe([&] { return readRecipe(run); });
        }
        return run.finish();
    } catch (...) {
        return ImportFailed("ImportMealMaster");
    }
}
