// Reads MasterCook export text (".mxp"): a start line "*  Exported from  MasterCook  *", the title, the
// "Recipe By", "Serving Size" and "Categories" lines, the ingredients below the column rule, the
// instructions up to the end rule "- - - - ...", and the notes between that rule and the next recipe.
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "exchange/ExchangeFrame.h"
#include "exchange/FormatDetection.h"
#include "platform/text/TextRules.h"

#include <QStringList>
#include <algorithm>
#include <optional>
#include <utility>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Blanks and tabs only: a line of tabs is as blank as an empty one.
bool isBlank(const QString& line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' ' || c == u'\t'; });
}

// The text of a labelled line after its first ":", trimmed ("" without a colon). Real files write the
// value both with and without a blank after the colon.
QString afterColon(const QString& line)
{
    const qsizetype colon = line.indexOf(u':');
    return colon < 0 ? QString() : text::trimBlanks(line.mid(colon + 1));
}

// The serving size: what stands between the colon of "Serving Size" and the time label, trimmed.
QString servingSize(const QString& line)
{
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0)
        return {};
    qsizetype end = line.size();
    for (const char* label : {"Preparation Time", "Preperation Time"}) {
        const qsizetype at = line.indexOf(QLatin1String(label), colon + 1, Qt::CaseInsensitive);
        if (at >= 0)
            end = std::min(end, at);
    }
    return text::trimBlanks(line.mid(colon + 1, end - colon - 1));
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

// An ingredient line with its "--" as a blank and without extra blanks ("onion -- chopped" and
// "cabbage--about" alike).
QString ingredientLine(const QString& line)
{
    // One pass: "--" to a blank, blanks trimmed at both ends, every run of blanks made one.
    QString out(line.size(), Qt::Uninitialized);
    QChar* o = out.data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        QChar c = line[i];
        if (c == u'-' && i + 1 < line.size() && line[i + 1] == u'-') {
            c = u' ';
            ++i;
        }
        if (c == u' ' && (n == 0 || o[n - 1] == u' '))
            continue;
        o[n++] = c;
    }
    if (n > 0 && o[n - 1] == u' ')
        --n;
    out.truncate(n);
    return out;
}

// A line of blanks only; a line that also holds tabs may stand between two groups of ingredients.
bool isEmptyLine(const QString& line) { return text::trimBlanksView(line).isEmpty(); }

// A row of the ingredient columns: an amount column of 8 characters (digits, fractions, ranges or nothing),
// two blanks, then the measure or, under a heading or for an ingredient without a measure, the ingredient.
bool isIngredientRow(const QString& line)
{
    constexpr qsizetype kAmount = 8;
    if (line.size() <= kAmount + 2 || isBlank(line))
        return false;
    const auto inAmount = [](QChar c) { return c.isDigit() || QStringView(u" \t/.-").contains(c); };
    const QStringView amount = QStringView(line).first(kAmount);
    return std::all_of(amount.begin(), amount.end(), inAmount) && isBlank(line.mid(kAmount, 2));
}

// A rule of dashes under a sub-heading of the ingredients: nothing to store.
bool isDashRule(const QString& line)
{
    const QStringView t = text::trimBlanksView(line);
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c == u'-' || c == u' '; });
}

// The end rule, unless a writer guarded a stored line that looks like one.
bool isEndRule(const QString& line)
{
    return IsMasterCookEndRule(line) && !IsGuardedLine(line, IsMasterCookMarkerLine);
}

bool isNutrientLine(const QString& line)
{
    return text::trimBlanksView(line).startsWith(QLatin1String("Nutr. Assoc."));
}

// A line of numbers only: what a long "Nutr. Assoc." line wraps onto.
bool isNumbersLine(const QString& line)
{
    return !isBlank(line) &&
           std::all_of(line.begin(), line.end(), [](QChar c) { return c.isDigit() || c == u' ' || c == u'\t'; });
}

// Stored multi-line text: every line followed by CR LF, the last one too.
QString joinLines(const QStringList& lines)
{
    QString out;
    for (const QString& l : lines)
        out.append(l).append(kCrLf);
    return out;
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
        if (ahead_)
            line = *std::exchange(ahead_, std::nullopt);
        else
            line = in_.readLine();
        startMet_ = IsMasterCookStartLine(line) && !IsGuardedLine(line, IsMasterCookMarkerLine);
        return !startMet_;
    }
    // The same, but the end of the file ends the recipe too.
    bool nextUpToEnd(QString& line) { return (ahead_ || !in_.atEnd()) && next(line); }
    // Gives the line back: next() answers it again.
    void putBack(const QString& line) { ahead_ = line; }
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
    std::optional<QString> ahead_; // a line given back
    bool startMet_ = false;
};

// A recipe's fields as read, before the apostrophe encoding.
struct Recipe {
    QString author, servingSize, prepTime, categories, ingredients, instructions;
};

// Our own writer ends a recipe with a blank separator, the author again (when there is one) and a blank
// separator, the calories (when there are some), and its end rule from the first column. Drops those lines
// from the end of `lines` when they stand there in exactly that layout; a recipe's own last line that
// merely reads like one of them stays.
void dropWriterTail(QStringList& lines, const QString& author)
{
    const QString separator = QStringLiteral(" ");
    const auto at = [&lines](qsizetype fromEnd) { return lines.value(lines.size() - fromEnd); };
    if (lines.size() >= 2 && at(1).endsWith(QLatin1String(" calories per serving")) && at(2) == separator)
        lines.removeLast();
    const QString trimmedAuthor = text::trimBlanks(author);
    if (lines.size() >= 3 && at(1) == separator && at(3) == separator && !isBlank(at(2)) &&
        text::trimBlanks(at(2)) == trimmedAuthor)
        lines.resize(lines.size() - 2);
}

// The notes after the end rule, up to the next recipe, another end rule or the end of the file: trimmed,
// one blank line between paragraphs, without the "Nutr. Assoc." line and the numbers it wraps onto.
QStringList readNotes(RecipeLines& lines)
{
    QStringList notes;
    QString line;
    bool paragraphEnds = false;
    bool inNutrients = false;
    while (lines.nextUpToEnd(line) && !isEndRule(line)) {
        if (isBlank(line)) {
            paragraphEnds = !notes.isEmpty();
            inNutrients = false;
            continue;
        }
        if (isNutrientLine(line) || (inNutrients && isNumbersLine(line))) {
            inNutrients = true;
            continue;
        }
        inNutrients = false;
        if (paragraphEnds)
            notes << QString();
        paragraphEnds = false;
        notes << text::trimBlanks(line);
    }
    return notes;
}

// The instruction lines up to the end rule, the next recipe or the end of the file: trimmed, without the
// blank lines around them, and without the author and calories lines that our own writer puts last.
// Notes after the end rule ("NOTES :", "Serving Ideas :") follow after one blank line.
QString readInstructions(RecipeLines& lines, const QString& author)
{
    QStringList read;
    QString line;
    bool endRule = false;
    while (lines.nextUpToEnd(line) && !(endRule = isEndRule(line)))
        read << line;
    if (endRule && line == QLatin1String(kMasterCookEndRule))
        dropWriterTail(read, author);

    QStringList kept;
    for (const QString& l : read) {
        const QString trimmed = isBlank(l) ? QString() : text::trimBlanks(l);
        if (!trimmed.isEmpty() || !kept.isEmpty())
            kept << trimmed;
    }
    dropTrailingBlankLines(kept);
    if (endRule) {
        const QStringList notes = readNotes(lines);
        if (!notes.isEmpty()) {
            if (!kept.isEmpty())
                kept << QString();
            kept << notes;
        }
    }
    return joinLines(kept);
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
        r.servingSize = servingSize(line);
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
    while ((inRecipe = lines.next(line)) && !isEmptyLine(line)) {
        if (isBlank(line)) {
            // MasterCook writes the empty line between two groups of ingredients as a line of tabs: the
            // list goes on when ingredient rows follow it.
            while ((inRecipe = lines.next(line)) && isBlank(line) && !isEmptyLine(line)) {
            }
            if (!inRecipe)
                break;
            if (!isIngredientRow(line)) {
                lines.putBack(line);
                break;
            }
        }
        if (!isDashRule(line))
            ingredients << ingredientLine(line);
    }
    r.ingredients = joinLines(ingredients);
    if (!inRecipe)
        return;

    r.instructions = readInstructions(lines, r.author);
}

// One recipe, from the line after its start line. Returns true when it ended at the next start line.
bool importRecipe(TextImportRun& run)
{
    RecipeLines lines(run.in());
    QString line;
    if (!lines.nextNonBlank(line)) { // the next recipe starts before this one has a title
        run.recipeFailed();
        return true;
    }
    const QString title = text::properCase(text::encodeApostrophes(text::trimBlanks(line)));
    if (run.titleExists(title)) {
        run.recipeSkipped();
        return false;
    }

    Recipe r;
    readBody(lines, r);
    using text::encodeApostrophes;
    RecipeColumns columns{{"TITLE", title},
                          {"AUTHOR", encodeApostrophes(r.author)},
                          {"PREPTIME", encodeApostrophes(r.prepTime)},
                          {"CATEGORY", encodeApostrophes(r.categories)},
                          {"Yield", encodeApostrophes(r.servingSize)},
                          {"Instructions", encodeApostrophes(r.instructions)},
                          {"Ingredients", encodeApostrophes(r.ingredients)}};
    r = Recipe(); // the columns hold the only copy of a long text
    run.insertRecipe(std::move(columns));
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
            run.recipeFound();
            startRead = run.readRecipe([&] { return importRecipe(run); });
        }
        return run.finish();
    } catch (...) {
        return ImportFailed("ImportMasterCook");
    }
}
