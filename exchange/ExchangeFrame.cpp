#include "exchange/ExchangeFrame.h"

#include "core/ProtectedFiles.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/text/FileRegistry.h"
#include "platform/text/TextRules.h"
#include "exchange/ColumnFit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <sqlite3.h>

// ---------------------------------------------------------------- cImport
Throttle::Throttle(qint64 intervalMs, Clock clock) : interval_(intervalMs), clock_(std::move(clock))
{
    if (!clock_) {
        auto timer = std::make_shared<QElapsedTimer>();
        timer->start();
        clock_ = [timer] { return timer->elapsed(); };
    }
}

bool Throttle::ready()
{
    const qint64 now = clock_();
    if (started_ && now - last_ < interval_)
        return false;
    started_ = true;
    last_ = now;
    return true;
}

namespace {
cImport::YieldHook& yieldHook()
{
    static cImport::YieldHook hook = cImport::defaultYieldHook();
    return hook;
}
} // namespace

cImport::YieldHook cImport::defaultYieldHook()
{
    return [throttle = std::make_shared<Throttle>(50)] {
        if (throttle->ready())
            QCoreApplication::processEvents();
    };
}

cImport::YieldHook cImport::setYieldHook(YieldHook hook)
{
    YieldHook previous = yieldHook();
    yieldHook() = std::move(hook);
    return previous;
}

void cImport::yieldToEventLoop()
{
    if (yieldHook())
        yieldHook()();
}

void cImport::raiseProcessing()
{
    Q_EMIT Processing(basMain::lRecipesFound, basMain::lRecipesImported, basMain::lRecipesSkipped);
}

void cImport::raiseChecking(qint64 bytesRead, qint64 fileSize) { Q_EMIT Checking(bytesRead, fileSize); }

QString cImport::RemoveDoubleSpaces(const QString& text)
{
    // One pass: the same as replacing "  " by " " until none is left.
    if (!text.contains(QLatin1String("  ")))
        return text;
    QString s;
    s.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] != u' ' || s.isEmpty() || s.back() != u' ')
            s.append(text[i]);
    return s;
}

QString cImport::ColumnsToList(const QString& text)
{
    // Pieces between double blanks, trimmed, the empty ones left out, joined by commas: no piece copied.
    QString list;
    for (const QStringView piece : QStringView(text).tokenize(u"  ")) {
        const QStringView t = text::trimBlanksView(piece);
        if (t.isEmpty())
            continue;
        if (!list.isEmpty())
            list.append(u',');
        list.append(t);
    }
    return list;
}

// ---------------------------------------------------------------- reader frame
namespace {
void zeroCounters()
{
    basMain::lRecipesFound = 0;
    basMain::lRecipesImported = 0;
    basMain::lRecipesSkipped = 0;
}

bool isTitle(const QString& column) { return column.compare(QLatin1String("TITLE"), Qt::CaseInsensitive) == 0; }
} // namespace

bool IsRecipeFault(const AppError& e) { return e.number < 0 && !db::isStorageFailure(e); }

bool ImportFailed(const char* routine)
{
    try {
        throw;
    } catch (const AppError& e) {
        if (e.number < 0) // the database, not the file
            basMain::LogError(e.number,
                              basMain::lRecipesImported == 0 ? e.description + ". Nothing was imported."
                                                             : e.description,
                              routine);
    } catch (...) {
        basMain::LogCurrentException(routine);
    }
    return false;
}

TextImportRun::TextImportRun(cImport& owner, const QString& path)
    : owner_(owner),
      in_((zeroCounters(), path)),
      transaction_(basDatabase::cnCookbook, db::Transaction::OnScopeExit::Commit, db::Transaction::Lock::Immediate)
{
}

void CommitImport(db::Transaction& transaction)
{
    try {
        transaction.commit();
    } catch (...) {
        basMain::lRecipesImported = 0;
        throw;
    }
}

TextImportRun::~TextImportRun()
{
    try {
        CommitImport(transaction_); // the recipes stored before a failure stay, if the cookbook still can
    } catch (...) {
        // the failure that ended the run is the one reported
    }
}

bool TextImportRun::scanning()
{
    return !in_.atEnd() && !basMain::bCancelImport;
}

void TextImportRun::recipeFound()
{
    ++basMain::lRecipesFound;
    owner_.raiseProcessing();
}

void TextImportRun::recipeSkipped()
{
    ++basMain::lRecipesSkipped;
    owner_.raiseProcessing();
}

void TextImportRun::recipeFailed()
{
    failed_ = true;
    recipeSkipped();
}

bool TextImportRun::readRecipe(const std::function<bool()>& body)
{
    in_.startRecord(kMaxRecipeBytes);
    try {
        const bool nextStarts = body();
        in_.endRecord();
        return nextStarts;
    } catch (const text::RecordTooLarge&) {
        in_.endRecord();
        recipeFailed();
        return false;
    } catch (const AppError&) {
        throw; // the file or the database: reading cannot go on
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        // A recipe laid out in a way its reader did not foresee: that recipe is skipped, the read goes on.
        in_.endRecord();
        recipeFailed();
        return false;
    }
}

bool TextImportRun::insertRecipe(RecipeColumns columns)
{
    QString key;
    for (const auto& c : columns)
        key.append(c.first).append(',');
    PreparedInsert& insert = inserts_[key];
    try {
        if (!insert.query) {
            QStringList names, marks;
            for (int i = 0; i < columns.size(); ++i) {
                names << columns[i].first;
                marks << QString("?%1").arg(i + 1);
                insert.sizes << basDatabase::RecipeColumnSize(columns[i].first);
            }
            insert.query = std::make_shared<db::Query>(
                basDatabase::cnCookbook,
                "INSERT INTO RECIPES (" + names.join(", ") + ") VALUES (" + marks.join(", ") + ")");
        }
        db::Query& query = *insert.query;
        query.reset();
        for (int i = 0; i < columns.size(); ++i) {
            QVariant& v = columns[i].second;
            const int size = insert.sizes[i];
            query.bind(i + 1, v.isNull() || size == 0 ? v : QVariant(FitToSize(v.toString(), size)));
            if (!isTitle(columns[i].first))
                v.clear();
        }
        query.exec();
    } catch (const AppError& e) {
        if (!IsRecipeFault(e) || sqlite3_get_autocommit(basDatabase::cnCookbook.handle()))
            throw; // not this recipe alone
        recipeFailed();
        return false;
    }
    for (const auto& c : columns)
        if (isTitle(c.first))
            titles_.add(c.second.toString());
    ++basMain::lRecipesImported;
    owner_.raiseProcessing();
    return true;
}

bool TextImportRun::finish()
{
    inserts_.clear();
    CommitImport(transaction_);
    in_.close();
    return !failed_;
}

// ---------------------------------------------------------------- writer frame
TextExportRun::TextExportRun(cExport& owner, const QString& path)
    : owner_(owner),
      rows_((text::closeAllFiles(), std::make_unique<db::Query>(basDatabase::cnCookbook,
                                                                 "SELECT * FROM RECIPES WHERE MARK=1"))),
      out_(path)
{
}

void TextExportRun::writeAll(cExport& owner, const QString& path, void (*writeRecipe)(TextExportRun&))
{
    try {
        RefuseProtectedFile(path);
        TextExportRun run(owner, path);
        while (run.next()) {
            writeRecipe(run);
            run.recipeWritten();
        }
        run.finish();
    } catch (...) {
        basMain::LogCurrentException("ExportTovalquendry");
    }
}

bool TextExportRun::next() { return rows_->next(); }

QString TextExportRun::field(const char* column) const
{
    // Looked up once per name a writer uses, not once per recipe.
    auto found = columns_.constFind(column);
    if (found == columns_.constEnd()) {
        const int index = rows_->columnIndex(QString::fromLatin1(column));
        if (index < 0)
            return rows_->text(QString::fromLatin1(column)); // raises the unknown column
        found = columns_.insert(column, index);
    }
    const QVariant value = rows_->value(*found);
    return value.isNull() ? QString() : value.toString();
}

QString TextExportRun::decoded(const char* column) const { return text::decodeApostrophes(field(column)); }

QStringList TextExportRun::ingredientLines() const
{
    QStringList lines;
    for (const QString& line : decoded("INGREDIENTS").split(QLatin1String("\r\n")))
        if (!text::trimBlanks(line).isEmpty())
            lines << line;
    return lines;
}

QString TextExportRun::instructions() const
{
    QString s = decoded("INSTRUCTIONS");
    while (s.endsWith(QLatin1String("\r\n")))
        s.chop(2);
    return s;
}

void TextExportRun::writeLines(const QStringList& lines, MarkerLineTest isMarker)
{
    for (const QString& line : lines)
        out_.writeLine(GuardedLine(line, isMarker));
}

void TextExportRun::writeText(const QString& text, MarkerLineTest isMarker)
{
    // Split at CR LF, LF or CR, each line handed on as it is found.
    const QStringView all(text);
    qsizetype from = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QChar c = all[i];
        if (c != u'\r' && c != u'\n')
            continue;
        out_.writeLine(GuardedLine(all.sliced(from, i - from).toString(), isMarker));
        if (c == u'\r' && i + 1 < all.size() && all[i + 1] == u'\n')
            ++i;
        from = i + 1;
    }
    out_.writeLine(GuardedLine(from == 0 ? text : all.sliced(from).toString(), isMarker));
}

void TextExportRun::recipeWritten()
{
    ++count_;
    Q_EMIT owner_.Exported(count_);
    cImport::yieldToEventLoop(); // the window repaints the count and stays answering
}

void TextExportRun::finish()
{
    rows_.reset();
    runWhileAnswering([this] { out_.commit(); });
}
