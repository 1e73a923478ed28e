// Reads Compu-Chef text. A recipe looks like this (lines may carry a prefix of blanks or NULs):
//
//   ************************
//   ****** Apple Pie ******
//   ************************
//
//   Categories: Desserts Pies
//
//   Calories     per serving: 250    Number of Servings: 8
//   Fat grams    per serving: 12     Approx. Cook Time: 1:15
//   Cholesterol  per serving: 30     Marks:
//
//   INGREDIENTS -----------------------------------------
//
//   6 apples
//
//   DIRECTIONS  -----------------------------------------
//
//   Peel the apples.
//
//   *** Recipe Via Compu-Chef (tm) ***
#include "exchange/CompuChefFormat.h"
#include "exchange/ExchangeFrame.h"
#include "exchange/cImport.h"

#include "core/basDatabase.h"
#include "platform/text/TextRules.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

const QLatin1String kIngredientsRule("INGREDIENTS ---");
const QLatin1String kDirectionsRule("DIRECTIONS  --");
const QLatin1String kCaloriesLabel("per serving:");

bool isWhite(QChar c) { return c == ' ' || c == '\t'; }

// Blanks and tabs off both ends (the detail lines separate their columns with tabs).
QString trimmed(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isWhite(s[begin]))
        ++begin;
    while (end > begin && isWhite(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

bool isBlank(const QString& s)
{
    return std::all_of(s.begin(), s.end(), isWhite);
}

bool isIngredientsRule(const QString& s) { return s.contains(kIngredientsRule); }
bool isDirectionsRule(const QString& s) { return s.contains(kDirectionsRule); }

// A line that opens a later part of the recipe, where an earlier part ends even when its closing line
// is missing.
bool opensSection(const QString& s)
{
    return isIngredientsRule(s) || isDirectionsRule(s) || IsCompuChefTrailerLine(s);
}

// The lines of the file as the recipe reader walks them, NUL characters dropped. Reading past the end
// throws (the recipe is cut off).
class Lines {
public:
    explicit Lines(text::LineReader& in) : in_(in) {}
    const QString& current() const { return line_; }
    void next()
    {
        line_ = in_.readLine();
        line_.remove(QChar(0));
    }
    void nextNonBlank()
    {
        do
            next();
        while (isBlank(line_));
    }
    void passToTrailer()
    {
        while (!IsCompuChefTrailerLine(line_))
            next();
    }

private:
    text::LineReader& in_;
    QString line_;
};

// The title inside "****** Title ******": what lies between the first and the last blank of the
// trimmed line. Null when the line holds no title there.
QString titleFromLine(const QString& line)
{
    const QString t = trimmed(line);
    const qsizetype first = t.indexOf(' ');
    const qsizetype last = t.lastIndexOf(' ');
    if (first < 0 || last <= first)
        return {};
    const QString title = t.mid(first + 1, last - first - 1);
    return isBlank(title) ? QString() : title;
}

// What follows the second ':' of a detail line, trimmed; "" when the line holds fewer.
QString afterSecondColon(const QString& line)
{
    const qsizetype first = line.indexOf(':');
    const qsizetype second = first < 0 ? -1 : line.indexOf(':', first + 1);
    return second < 0 ? QString("") : trimmed(line.mid(second + 1));
}

struct Recipe {
    QString categories, calories, yield, totalTime, ingredients, instructions;
};

// From the current categories line ("Categories: name name ...") and its continuation lines up to a
// blank line or the calories line: every name, comma-joined. The line that ended the block stays current.
QString readCategories(Lines& lines)
{
    static const QRegularExpression separators("[ \t,]+");
    QStringList names;
    bool first = true;
    while (!lines.current().contains(kCaloriesLabel) && !opensSection(lines.current())) {
        QString text = lines.current();
        if (first) {
            text = text.mid(text.indexOf(':') + 1);
            first = false;
        }
        names << text.split(separators, Qt::SkipEmptyParts);
        lines.next();
        if (isBlank(lines.current()))
            break;
    }
    return names.join(',');
}

// The calories line ("Calories per serving: 250 <tab> Number of Servings: 8") and the line under it
// ("Fat grams per serving: <tab> Approx. Cook Time: 1:15"), starting at the current line.
void readDetails(Lines& lines, Recipe& r)
{
    if (opensSection(lines.current()))
        return;
    const QString& calories = lines.current();
    const qsizetype colon = calories.indexOf(':');
    if (colon >= 0) {
        r.calories = trimmed(calories.mid(colon + 1, 8));
        r.yield = afterSecondColon(calories);
    }
    lines.next();
    if (!opensSection(lines.current()))
        r.totalTime = afterSecondColon(lines.current());
}

// The lines under the ingredients rule up to a blank line, each trimmed with single blanks, each ending
// in CR LF.
void readIngredients(Lines& lines, Recipe& r)
{
    while (!isIngredientsRule(lines.current()) && !isDirectionsRule(lines.current()) &&
           !IsCompuChefTrailerLine(lines.current()))
        lines.next();
    if (!isIngredientsRule(lines.current()))
        return;
    lines.nextNonBlank();
    while (!isBlank(lines.current()) && !isDirectionsRule(lines.current()) &&
           !IsCompuChefTrailerLine(lines.current())) {
        r.ingredients += cImport::RemoveDoubleSpaces(trimmed(lines.current())) + "\r\n";
        lines.next();
    }
}

// Every paragraph under the directions rule up to the trailer: each line trimmed and ending in CR LF,
// blank lines between paragraphs kept, blank lines before and after dropped. Leaves the trailer current.
void readInstructions(Lines& lines, Recipe& r)
{
    while (!isDirectionsRule(lines.current()) && !IsCompuChefTrailerLine(lines.current()))
        lines.next();
    if (IsCompuChefTrailerLine(lines.current()))
        return;
    QStringList kept;
    qsizetype keptUpToText = 0;
    for (lines.next(); !IsCompuChefTrailerLine(lines.current()); lines.next()) {
        const QString t = trimmed(lines.current());
        if (t.isEmpty() && kept.isEmpty())
            continue;
        kept << t;
        if (!t.isEmpty())
            keptUpToText = kept.size();
    }
    for (qsizetype i = 0; i < keptUpToText; ++i)
        r.instructions += kept[i] + "\r\n";
}

// One recipe, from the line under its start line up to its trailer.
void readRecipe(TextImportRun& run, Lines& lines)
{
    lines.nextNonBlank();
    const QString titleText = titleFromLine(lines.current());
    if (titleText.isNull()) {
        run.recipeFailed();
        lines.passToTrailer();
        return;
    }
    const QString title = text::properCase(text::encodeApostrophes(titleText));
    if (basDatabase::RecipeTitleExists(title)) {
        run.recipeSkipped();
        lines.passToTrailer();
        return;
    }

    Recipe r;
    lines.next(); // the frame under the title
    lines.nextNonBlank();
    r.categories = readCategories(lines);
    if (isBlank(lines.current()))
        lines.nextNonBlank();
    readDetails(lines, r);
    readIngredients(lines, r);
    readInstructions(lines, r);

    using text::encodeApostrophes;
    run.insertRecipe({
        {"TITLE", title},
        {"CALORIESPERSERVING", encodeApostrophes(r.calories)},
        {"TOTALTIME", encodeApostrophes(r.totalTime)},
        {"CATEGORY", encodeApostrophes(r.categories)},
        {"Yield", encodeApostrophes(r.yield)},
        {"Instructions", encodeApostrophes(r.instructions)},
        {"Ingredients", encodeApostrophes(r.ingredients)},
        {"AUTHOR", QString("Not Known")},
    });
    lines.passToTrailer();
}

} // namespace

bool cImport::ImportCompuChef(const QString& path)
{
    try {
        TextImportRun run(*this, path);
        Lines lines(run.in());
        for (;;) {
            yieldToEventLoop();
            if (!run.scanning())
                break;
            lines.next();
            if (!IsCompuChefStartLine(lines.current()))
                continue;
            run.recipeFound();
            yieldToEventLoop();
            readRecipe(run, lines);
        }
        return run.finish();
    } catch (const AppError&) {
        return false;
    }
}
