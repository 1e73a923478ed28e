#pragma once
// The frames that every text-format reader and writer runs in.
#include "exchange/cExport.h"
#include "exchange/cImport.h"
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

// One call of a text reader: zeroes the counters, opens the file and a transaction on the open cookbook
// that is committed however the call ends, and keeps the count of recipes that failed on their own.
class TextImportRun {
public:
    TextImportRun(cImport& owner, const QString& path);
    ~TextImportRun();

    text::LineReader& in() { return in_; }

    // The scanning loop's test before each line: false at the end of the file or once a cancel is asked.
    bool scanning();

    void recipeFound();      // Found + 1, Processing
    void recipeSkipped();    // Skipped + 1, Processing
    // Inserts the recipe with bound values (the caller has encoded apostrophes); Imported + 1 and
    // Processing on success. A value the cookbook refuses counts the recipe as skipped, marks the run as
    // failed and returns false; the read goes on. A failure that cost the whole transaction (the engine
    // rolled it back: disk full, I/O error) is raised, since it is not confined to this recipe.
    bool insertRecipe(const RecipeColumns& columns);
    // A recipe that could not be read (a malformed title line): skipped, and the run fails at its end.
    void recipeFailed();

    // Commits and closes the file; true unless a recipe failed.
    bool finish();

private:
    cImport& owner_;
    text::LineReader in_;
    db::Transaction transaction_;
    QHash<QString, std::shared_ptr<db::Query>> inserts_; // prepared once per column list
    bool failed_ = false;
};

// One call of a text writer: closes every open file, selects the marked recipes and creates the output.
class TextExportRun {
public:
    // Writes every marked recipe through `writeRecipe`, raising Exported after each; an error ends the
    // run and is reported under "ExportTovalquendry" (the file keeps what was written).
    static void writeAll(cExport& owner, const QString& path, void (*writeRecipe)(TextExportRun&));

    TextExportRun(cExport& owner, const QString& path);

    bool next();                       // the next marked recipe; false at the end
    const db::Query& row() const { return *rows_; }
    QString field(const char* column) const;  // the value as text, "" for Null
    QString decoded(const char* column) const; // the same with "$$" turned back into "'"
    text::LineWriter& out() { return out_; }
    void recipeWritten();              // count + 1, Exported(count)
    void finish();                     // flushes and closes the file

private:
    cExport& owner_;
    std::unique_ptr<db::Query> rows_;
    text::LineWriter out_;
    qint32 count_ = 0;
};
