#pragma once
// The frames that every text-format reader and writer runs in.
#include "exchange/cExport.h"
#include "exchange/cImport.h"
#include "exchange/FormatDetection.h"
#include "core/Helpers.h"
#include "core/basDatabase.h"
#include "platform/db/Database.h"
#include "platform/text/LineFile.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QVariant>
#include <functional>
#include <memory>

// One column of a recipe to insert, with its value (a null QVariant stores Null).
using RecipeColumns = QList<QPair<QString, QVariant>>;

// Lets a call through at most once per interval; the first call always passes.
class Throttle {
public:
    using Clock = std::function<qint64()>; // milliseconds from any fixed point
    explicit Throttle(qint64 intervalMs, Clock clock = {});
    bool ready();

private:
    qint64 interval_;
    Clock clock_;
    qint64 last_ = 0;
    bool started_ = false;
};

// Runs `work` (which touches nothing of the window) on a thread of its own and lets the window repaint and
// answer until it ends: putting a large file in place takes a while.
template <class Work>
auto runWhileAnswering(Work work)
{
    return runOffThread(std::move(work), &cImport::yieldToEventLoop);
}

// Reading stops on a failure of the database itself (busy after the timeout, read-only, full, I/O error,
// damaged file); a recipe's own fault (a value the cookbook refuses) skips that recipe only.
bool IsRecipeFault(const AppError& e);

// How a reader ends on an error: false, and a failure of the database is reported once through LogError
// under the reader's name (a file that cannot be read or ends too soon is only answered false). When no
// recipe of the file was kept, the report says so.
bool ImportFailed(const char* routine);

// Commits an import's transaction. When that fails the cookbook keeps none of the run's recipes: the
// Imported counter is set to 0 before the failure is raised.
void CommitImport(db::Transaction& transaction);

// One call of a text reader: zeroes the counters, opens the file and a transaction on the open cookbook
// (taking the write lock at once) that is committed however the call ends, and keeps the count of
// recipes that failed on their own.
class TextImportRun {
public:
    // A recipe whose lines pass this many bytes is skipped, and reading goes on after it.
    static constexpr qint64 kMaxRecipeBytes = qint64(16) << 20;

    TextImportRun(cImport& owner, const QString& path);
    ~TextImportRun();

    text::LineReader& in() { return in_; }

    // The scanning loop's test before each line: false at the end of the file or once a cancel is asked.
    bool scanning();

    void recipeFound();      // Found + 1, Processing
    void recipeSkipped();    // Skipped + 1, Processing
    // Reads one recipe through `body`, which answers whether the recipe ended at the next one's start
    // line. A recipe that passes kMaxRecipeBytes, or that `body` gives up on with anything but an AppError,
    // fails and answers false: scanning goes on after it. An AppError (the file, the database) is raised.
    bool readRecipe(const std::function<bool()>& body);
    // Whether the cookbook holds this title (stored form), as RecipeTitleExists answers.
    bool titleExists(const QString& title) const { return titles_.contains(title); }
    // Inserts the recipe with bound values (the caller has encoded apostrophes), each value fitted to its
    // column; Imported + 1 and Processing on success. A value the cookbook refuses counts the recipe as
    // skipped, marks the run as failed and returns false; the read goes on. A failure of the database
    // itself is raised. Each value is let go once it is bound, so a caller that hands its values over
    // keeps a long text in memory once, not beside the database's own copies.
    bool insertRecipe(RecipeColumns columns);
    // A recipe that could not be read (a malformed title line): skipped, and the run fails at its end.
    void recipeFailed();
    // The run fails at its end (a recipe stored although cut off).
    void markFailed() { failed_ = true; }

    // Commits and closes the file; true unless a recipe failed.
    bool finish();

private:
    cImport& owner_;
    text::LineReader in_;
    db::Transaction transaction_;
    basDatabase::RecipeTitles titles_;
    struct PreparedInsert {
        std::shared_ptr<db::Query> query;
        QList<int> sizes; // each column's size limit, 0 for none
    };
    QHash<QString, PreparedInsert> inserts_; // prepared once per column list
    bool failed_ = false;
};

// One call of a text writer: closes every open file, selects the marked recipes and creates the output.
class TextExportRun {
public:
    // Writes every marked recipe through `writeRecipe`, raising Exported after each; an error ends the
    // run and is reported under "ExportTovalquendry" (the file is left as it was before the run).
    static void writeAll(cExport& owner, const QString& path, void (*writeRecipe)(TextExportRun&));

    TextExportRun(cExport& owner, const QString& path);

    bool next();                       // the next marked recipe; false at the end
    const db::Query& row() const { return *rows_; }
    QString field(const char* column) const;  // the value as text, "" for Null
    QString decoded(const char* column) const; // the same with "$$" turned back into "'"
    // The stored ingredient lines, decoded, without empty ones (a blank line would end the block).
    QStringList ingredientLines() const;
    // The instructions, decoded, without the line ends that close the stored text.
    QString instructions() const;
    // Writes the lines, one after another, a line the format would take for one of its own guarded.
    void writeLines(const QStringList& lines, MarkerLineTest isMarker);
    // Writes the text line by line (at every line end it holds), guarded as writeLines does.
    void writeText(const QString& text, MarkerLineTest isMarker);
    text::LineWriter& out() { return out_; }
    void recipeWritten();              // count + 1, Exported(count)
    void finish();                     // flushes the file and puts it in place

private:
    cExport& owner_;
    std::unique_ptr<db::Query> rows_;
    mutable QHash<const char*, int> columns_; // column index by the name a writer passes
    text::LineWriter out_;
    qint32 count_ = 0;
};
