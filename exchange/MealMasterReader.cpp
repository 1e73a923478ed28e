// Reads Meal-Master files: each recipe runs from a header line to an end line.
#include "core/basMain.h"
#include "core/basDatabase.h"
#include "exchange/ExchangeFrame.h"
#include "exchange/FormatDetection.h"
#include "platform/text/TextRules.h"

#include <QStringView>

#include <deque>

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

// A title line as Meal-Master writes it, its label indented: not a line of text a writer guarded.
bool isTitleLine(const QString& line)
{
    return text::trimBlanksView(line).startsWith(QLatin1String("Title:"), Qt::CaseInsensitive) &&
           !IsGuardedLine(line, IsMealMasterMarkerLine);
}

// The lines of a file, read through a short queue so that a line can be judged by the lines after it.
// Inside a recipe, read() is false at the line that ends the recipe: its end line, or the header of the
// next recipe (then nextStarts is set, and that recipe is read at once).
//
// Our writers write a stored line that looks like a header or an end line with one leading blank; real
// archives indent their own headers and end lines by one blank too. Such a line is a header when a title
// line follows it, and an end line unless an end line from the first column follows before the next
// recipe (our writers end every recipe with one).
class RecipeLines {
public:
    explicit RecipeLines(text::LineReader& in) : in_(in) {}

    // Whether a line is left, in the queue or in the file.
    bool more() { return !ahead_.empty() || !in_.atEnd(); }
    // The next line, as read.
    QString nextRaw()
    {
        if (ahead_.empty())
            return in_.readLine();
        QString l = std::move(ahead_.front());
        ahead_.pop_front();
        return l;
    }
    // Whether the line read at the scanning level starts a recipe.
    bool isHeader(const QString& l)
    {
        return IsMealMasterStartLine(l) && (!IsGuardedLine(l, IsMealMasterMarkerLine) || titleFollows(0));
    }

    bool read()
    {
        nextStarts = false;
        line = nextRaw();
        if (IsGuardedLine(line, IsMealMasterMarkerLine)) {
            const QString marker = line.mid(1);
            if (IsMealMasterStartLine(marker) && titleFollows(0)) {
                nextStarts = true;
                return false;
            }
            if (IsMealMasterEndLine(marker) && !IsMealMasterStartLine(marker) && !recipeGoesOn())
                return false;
            line = marker; // a line of text, as a writer guarded it
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
    static constexpr qsizetype kBlankLinesBeforeTitle = 8;

    // The line `i` places ahead of the next one; nothing past the end of the file.
    const QString* peek(size_t i)
    {
        while (ahead_.size() <= i) {
            if (in_.atEnd())
                return nullptr;
            ahead_.push_back(in_.readLine());
        }
        return &ahead_[i];
    }
    // Whether the first line that is not blank from `i` places ahead on is a title line.
    bool titleFollows(size_t i)
    {
        for (size_t n = 0; n <= kBlankLinesBeforeTitle; ++n, ++i) {
            const QString* l = peek(i);
            if (!l)
                return false;
            if (!isBlank(*l))
                return isTitleLine(*l);
        }
        return false;
    }
    // Whether an end line from the first column comes before the next recipe's header or the end of the
    // file: then an end line indented by one blank is a line of the recipe.
    bool recipeGoesOn()
    {
        for (size_t i = 0;; ++i) {
            const QString* l = peek(i);
            if (!l)
                return false;
            if (IsGuardedLine(*l, IsMealMasterMarkerLine)) {
                if (IsMealMasterStartLine(QStringView(*l).sliced(1)) && titleFollows(i + 1))
                    return false;
                continue;
            }
            if (IsMealMasterStartLine(*l))
                return false;
            if (IsMealMasterEndLine(*l))
                return true;
        }
    }

    text::LineReader& in_;
    std::deque<QString> ahead_;
};

// Reads one recipe after its header line and stores it unless its title is stored already. Returns
// true when the recipe ended at the header of the next one.
bool readRecipe(TextImportRun& run, RecipeLines& lines)
{
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
        RecipeLines lines(run.in());
        bool nextStarts = false; // the last recipe ended at the header of the next one
        while (!basMain::bCancelImport && (nextStarts || lines.more())) {
            if (!nextStarts && !lines.isHeader(lines.nextRaw()))
                continue;
            run.recipeFound();
            yieldToEventLoop();
            nextStarts = run.readRecipe([&] { return readRecipe(run, lines); });
        }
        return run.finish();
    } catch (...) {
        return ImportFailed("ImportMealMaster");
    }
}
