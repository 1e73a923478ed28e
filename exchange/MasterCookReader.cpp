// Reads MasterCook export text (".mxp"): a start line "*  Exported from  MasterCook  *", the title, the
// "Recipe By", "Serving Size" and "Categories" lines, the ingredients below the column rule, and the
// instructions up to the end rule "- - - - ...".
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "exchange/ExchangeFrame.h"
#include "exchange/FormatDetection.h"
#include "platform/text/TextRules.h"

#include <QStringList>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool isBlank(const QString& line) { return text::trimBlanks(line).isEmpty(); }

// The text of a labelled line from the second character after its first ":" ("" without a colon).
QString afterColon(const QString& line)
{
    const qsizetype colon = line.indexOf(u':');
    return colon < 0 ? QString() : line.mid(colon + 2);
}

// The preparation time of the serving line: what follows its last "time" label and the label's colon.
QString preparationTime(const QString& line)
{
    qsizetype at = line.lastIndexOf(QLatin1String("time"), -1, Qt::CaseInsensitive) + 4;
    while (at < line.size() && line[at] == u' ')
        ++at;
    if (at < line.size() && line[at] == u':')
        ++at;
    return text::trimBlanks(line.mid(at));
}

// One line of the categories block as a comma-joined list: names stand in columns separated by tabs or
// by two or more blanks.
QString categoryNames(QString line)
{
    return cImport::ColumnsToList(line.replace(u'\t', QLatin1String("  ")));
}

// An ingredient line without its "--" and extra blanks.
QString ingredientLine(QString line)
{
    return cImport::RemoveDoubleSpaces(text::trimBlanks(line.remove(QLatin1String("--"))));
}

bool isEndRule(const QString& line)
{
    return text::trimBlanks(line).startsWith(QLatin1String("- - - - - - - - - -"));
}

void dropTrailingBlankLines(QStringList& lines)
{
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
}

// The lines of one recipe. A recipe start met inside it ends the recipe; the caller starts the next one
// from there.
class RecipeLines {
public:
    explicit RecipeLines(text::LineReader& in) : in_(in) {}

    // The next line; false when it starts the next recipe. Reading past the end of the file throws.
    bool next(QString& line)
    {
        line = in_.readLine();
        startMet_ = IsMasterCookStartLine(line);
        return !startMet_;
    }
    // The same, but the end of the file ends the recipe too.
    bool nextUpToEnd(QString& line) { return !in_.atEnd() && next(line); }
    bool nextNonBlank(QString& line)
    {
        while (next(line))
            if (!isBlank(line))
                return true;
        return false;
    }
    bool startMet() const { return startMet_; }

private:
    text::LineReader& in_;
    bool startMet_ = false;
};

// A recipe's fields as read, before the apostrophe encoding.
struct Recipe {
    QString author, servingSize, prepTime, categories, ingredients, instructions;
};

// The instruction lines up to the end rule, the next recipe or the end of the file: trimmed, without the
// blank lines around them, and without the author and calories lines that our own writer puts last.
QString readInstructions(RecipeLines& lines, const QString& author)
{
    QStringList kept;
    QString line;
    while (lines.nextUpToEnd(line) && !isEndRule(line)) {
        const QString trimmed = text::trimBlanks(line);
        if (!trimmed.isEmpty() || !kept.isEmpty())
            kept << trimmed;
    }
    dropTrailingBlankLines(kept);
    if (!kept.isEmpty() && kept.last().endsWith(QLatin1String("calories per serving"))) {
        kept.removeLast();
        dropTrailingBlankLines(kept);
    }
    const QString trimmedAuthor = text::trimBlanks(author);
    if (!trimmedAuthor.isEmpty() && !kept.isEmpty() && kept.last() == trimmedAuthor) {
        kept.removeLast();
        dropTrailingBlankLines(kept);
    }
    return kept.join(kCrLf);
}

// Everything after the title. Returns early, keeping what it has, when the next recipe starts.
void readBody(RecipeLines& lines, Recipe& r)
{
    QString line;
    if (!lines.nextNonBlank(line))
        return;
    if (line.contains(QLatin1String("recipe by"), Qt::CaseInsensitive)) {
        r.author = afterColon(line);
        if (!lines.next(line))
            return;
    } // a recipe without an author line: this line is already the serving line
    if (line.contains(QLatin1String("serving size"), Qt::CaseInsensitive))
        r.servingSize = text::trimBlanks(afterColon(line).left(4));
    if (line.contains(QLatin1String("time"), Qt::CaseInsensitive))
        r.prepTime = preparationTime(line);

    if (!lines.next(line))
        return;
    QStringList categories{categoryNames(afterColon(line))};
    bool inRecipe;
    while ((inRecipe = lines.next(line)) && !isBlank(line))
        categories << categoryNames(line);
    categories.removeAll(QString());
    r.categories = categories.join(u',');
    if (!inRecipe)
        return;

    while (!line.contains(QLatin1String("--------")))
        if (!lines.next(line))
            return;
    QStringList ingredients;
    while ((inRecipe = lines.next(line)) && !isBlank(line))
        ingredients << ingredientLine(line);
    r.ingredients = ingredients.join(kCrLf);
    if (!inRecipe)
        return;

    r.instructions = readInstructions(lines, r.author);
}

// One recipe, from the line after its start line. Returns true when it ended at the next start line.
bool importRecipe(TextImportRun& run)
{
    run.recipeFound();
    RecipeLines lines(run.in());
    QString line;
    if (!lines.nextNonBlank(line)) { // the next recipe starts before this one has a title
        run.recipeFailed();
        return true;
    }
    const QString title = text::properCase(text::encodeApostrophes(text::trimBlanks(line)));
    if (basDatabase::RecipeTitleExists(title)) {
        run.recipeSkipped();
        return false;
    }

    Recipe r;
    readBody(lines, r);
    using text::encodeApostrophes;
    run.insertRecipe({{"TITLE", title},
                      {"AUTHOR", encodeApostrophes(r.author)},
                      {"PREPTIME", encodeApostrophes(r.prepTime)},
                      {"CATEGORY", encodeApostrophes(r.categories)},
                      {"Yield", encodeApostrophes(r.servingSize)},
                      {"Instructions", encodeApostrophes(r.instructions)},
                      {"Ingredients", encodeApostrophes(r.ingredients)}});
    return lines.startMet();
}

} // namespace

bool cImport::ImportMasterCook(const QString& path)
{
    try {
        TextImportRun run(*this, path);
        bool startRead = false; // the previous recipe ended on the next one's start line
        for (;;) {
            yieldToEventLoop();
            if (startRead) {
                if (basMain::bCancelImport)
                    break;
            } else {
                if (!run.scanning())
                    break;
                if (!IsMasterCookStartLine(run.in().readLine()))
                    continue;
            }
            startRead = importRecipe(run);
        }
        return run.finish();
    } catch (const AppError&) {
        return false;
    }
}
