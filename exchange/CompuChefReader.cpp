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
#include "exchange/FormatDetection.h"
#include "exchange/ExchangeFrame.h"
#include "exchange/cImport.h"

#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/text/TextRules.h"

#include <algorithm>
#include <optional>

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

// The format's own lines, unless a writer guarded a stored line that looks like one.
bool isUnguarded(const QString& s) { return !IsGuardedLine(s, IsCompuChefMarkerLine); }
bool isStartLine(const QString& s) { return IsCompuChefStartLine(s) && isUnguarded(s); }
bool isTitleLine(const QString& s) { return IsCompuChefTitleLine(s) && isUnguarded(s); }
bool isTrailer(const QString& s) { return IsCompuChefTrailerLine(s) && isUnguarded(s); }

bool isIngredientsRule(const QString& s) { return s.contains(kIngredientsRule); }
bool isDirectionsRule(const QString& s) { return s.contains(kDirectionsRule); }

// A line that opens a later part of the recipe, where an earlier part ends even when its closing line
// is missing.
bool opensSection(const QString& s)
{
    return isIngredientsRule(s) || isDirectionsRule(s) || isTrailer(s);
}

// Raised inside a recipe where the next recipe starts: the recipe before it has lost its trailer.
struct NextRecipeStarts {};

// The lines of the file as the recipe reader walks them, NUL characters dropped. Reading past the end
// throws (the recipe is cut off). Inside a recipe, a start line directly followed by a framed title
// line raises NextRecipeStarts; the title line is then the next line read.
class Lines {
public:
    explicit Lines(text::LineReader& in) : in_(in) {}
    const QString& current() const { return line_; }
    bool atEnd() { return !pending_ && in_.atEnd(); }

    // At the scanning level: the next line, and whether it starts a recipe.
    bool nextStartsRecipe()
    {
        take();
        return isStartLine(line_) && titleFollows();
    }
    void next()
    {
        take();
        if (isStartLine(line_) && titleFollows())
            throw NextRecipeStarts{};
    }
    void nextNonBlank()
    {
        do
            next();
        while (isBlank(line_));
    }
    // Passes over the rest of a recipe up to its trailer; false when the next recipe starts first.
    bool passToTrailer()
    {
        try {
            while (!isTrailer(line_))
                next();
            return true;
        } catch (const NextRecipeStarts&) {
            return false;
        }
    }

private:
    void take()
    {
        if (pending_) {
            line_ = *pending_;
            pending_.reset();
        } else {
            line_ = in_.readLine();
            line_.remove(QChar(0));
        }
    }
    // Reads the line after the current one and keeps it for the next read.
    bool titleFollows()
    {
        if (in_.atEnd())
            return false;
        QString following = in_.readLine();
        following.remove(QChar(0));
        pending_ = following;
        return isTitleLine(following);
    }

    text::LineReader& in_;
    QString line_;
    std::optional<QString> pending_;
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
    bool directionsRead = false; // the directions rule was reached
};

// Adds the names of a categories line. Names are separated by "," or tabs when the line holds one
// (our own files, "German Soups,Desserts"), else by blanks.
void appendNames(const QString& text, QStringList& names)
{
    const bool listed = text.contains(u',') || text.contains(u'\t');
    auto separates = [listed](QChar c) { return listed ? c == u',' || c == u'\t' : c == u' '; };
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !separates(text[i]))
            continue;
        const QString name = trimmed(text.mid(start, i - start));
        if (!name.isEmpty())
            names << name;
        start = i + 1;
    }
}

// From the current categories line ("Categories: name name ...") and its continuation lines up to a
// blank line, the calories line or a rule: every name, comma-joined. The line that ended the block stays
// current.
QString readCategories(Lines& lines)
{
    QStringList names;
    bool first = true;
    while (!lines.current().contains(kCaloriesLabel) && !opensSection(lines.current())) {
        QString text = lines.current();
        if (first) {
            text = text.mid(text.indexOf(':') + 1);
            first = false;
        }
        appendNames(text, names);
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

// Appends the lines after the current one up to the first that `ends` (which stays current), each
// trimmed, passed through `clean` and ending in CR LF; blank lines between text lines are kept, blank
// lines before and after dropped. What was read stays in `block` when the recipe is cut off.
template <class Ends, class Clean>
void readBlock(Lines& lines, QString& block, Ends ends, Clean clean)
{
    QString blanks;
    for (lines.next(); !ends(lines.current()); lines.next()) {
        const QString t = trimmed(lines.current());
        if (t.isEmpty()) {
            if (!block.isEmpty())
                blanks += "\r\n";
            continue;
        }
        block += blanks + clean(t) + "\r\n";
        blanks.clear();
    }
}

// The lines under the ingredients rule up to the directions rule, with single blanks.
void readIngredients(Lines& lines, Recipe& r)
{
    while (!isIngredientsRule(lines.current()) && !isDirectionsRule(lines.current()) &&
           !isTrailer(lines.current()))
        lines.next();
    if (isIngredientsRule(lines.current()))
        readBlock(
            lines, r.ingredients,
            [](const QString& s) { return isDirectionsRule(s) || isTrailer(s); },
            cImport::RemoveDoubleSpaces);
}

// Every paragraph under the directions rule up to the trailer. Leaves the trailer current.
void readInstructions(Lines& lines, Recipe& r)
{
    while (!isDirectionsRule(lines.current()) && !isTrailer(lines.current()))
        lines.next();
    if (isDirectionsRule(lines.current())) {
        r.directionsRead = true;
        readBlock(lines, r.instructions, isTrailer, [](const QString& s) { return s; });
    }
}

void insert(TextImportRun& run, const QString& title, Recipe&& r)
{
    using text::encodeApostrophes;
    RecipeColumns columns{
        {"TITLE", title},
        {"CALORIESPERSERVING", encodeApostrophes(r.calories)},
        {"TOTALTIME", encodeApostrophes(r.totalTime)},
        {"CATEGORY", encodeApostrophes(r.categories)},
        {"Yield", encodeApostrophes(r.yield)},
        {"Instructions", encodeApostrophes(r.instructions)},
        {"Ingredients", encodeApostrophes(r.ingredients)},
        {"AUTHOR", QString("Not Known")},
    };
    r = Recipe(); // the columns hold the only copy of a long text
    run.insertRecipe(std::move(columns));
}

// One recipe, from the line under its start line up to its trailer. Returns true when the next recipe
// started before the trailer. A recipe cut off (by the next recipe or the end of the file) is stored
// when its directions were reached, else counted as failed; either way the read ends false.
bool readRecipe(TextImportRun& run, Lines& lines)
{
    try {
        lines.nextNonBlank();
    } catch (const NextRecipeStarts&) { // a frame with no title under it
        run.recipeFailed();
        return true;
    }
    const QString titleText = titleFromLine(lines.current());
    if (titleText.isNull()) {
        run.recipeFailed();
        return !lines.passToTrailer();
    }
    const QString title = text::properCase(text::encodeApostrophes(titleText));
    if (run.titleExists(title)) {
        run.recipeSkipped();
        if (lines.passToTrailer())
            return false;
        run.markFailed();
        return true;
    }

    Recipe r;
    try {
        lines.nextNonBlank();
        if (IsCompuChefStartLine(lines.current())) // the frame under the title
            lines.nextNonBlank();
        r.categories = readCategories(lines);
        if (isBlank(lines.current()))
            lines.nextNonBlank();
        readDetails(lines, r);
        readIngredients(lines, r);
        readInstructions(lines, r);
    } catch (const NextRecipeStarts&) {
        if (r.directionsRead) {
            insert(run, title, std::move(r));
            run.markFailed();
        } else {
            run.recipeFailed();
        }
        return true;
    } catch (const AppError& e) {
        if (e.number == AppError::InputPastEnd && r.directionsRead)
            insert(run, title, std::move(r));
        throw;
    }
    insert(run, title, std::move(r));
    return !lines.passToTrailer();
}

} // namespace

bool cImport::ImportCompuChef(const QString& path)
{
    try {
        TextImportRun run(*this, path);
        Lines lines(run.in());
        bool nextStarts = false; // the last recipe ended where the next one starts
        for (;;) {
            yieldToEventLoop();
            if (basMain::bCancelImport || (!nextStarts && lines.atEnd()))
                break;
            if (!nextStarts && !lines.nextStartsRecipe())
                continue;
            run.recipeFound();
            yieldToEventLoop();
            nextStarts = run.readRecipe([&] { return readRecipe(run, lines); });
        }
        return run.finish();
    } catch (...) {
        return ImportFailed("ImportCompuChef");
    }
}
