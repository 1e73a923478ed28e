// Reads an ADO XML rowset of recipe rows into the open cookbook.
//
// The file is walked twice: once to check that it is a complete rowset document and to count its rows
// (a file that is not one imports nothing), and once to take the rows over one by one. The check runs on
// a thread of its own beside the import: rows are stored at once inside a savepoint, and their events
// wait until the check has counted the rows, so a file it refuses leaves nothing behind and raises no
// event. Meanwhile `Checking` tells how far the check has read. A cancel (basMain::bCancelImport,
// polled between rows) stops the run and keeps none of its rows. A column a row lacks is a Null; every value is fitted to its column. A row that cannot be taken
// (a bad picture, a value the cookbook refuses) is skipped and the read goes on; the reader then answers
// false at the end. A failure of the database itself ends the read.
#include "exchange/XmlRowset.h"
#include "exchange/cImport.h"
#include "exchange/ColumnFit.h"
#include "exchange/ExchangeFrame.h"
#include "exchange/XmlValueFilter.h"

#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/TextRules.h"

#include <QFile>
#include <QXmlStreamReader>
#include <array>
#include <atomic>
#include <future>
#include <optional>
#include <utility>
#include <vector>
#include <sqlite3.h>

using namespace xmlrowset;

namespace {

constexpr int kInvalidFileFormat = 321; // the file error "Invalid file format"

// The columns a row brings into its new recipe, in the order of the INSERT below.
enum Column {
    Title, Author, Category, PrepTime, CookTime, TotalTime, Yield, CaloriesPerServing,
    Instructions, Wine, Ingredients, Origin, PictureName, RecipePicture, ColumnCount
};

constexpr const char* kColumnNames[ColumnCount] = {
    "Title", "Author", "Category", "PrepTime", "CookTime", "TotalTime", "Yield", "CaloriesPerServing",
    "Instructions", "Wine", "Ingredients", "Origin", "PictureName", "RecipePicture",
};

// The size limit of each column, 0 for none.
int columnSize(int column)
{
    static const auto sizes = [] {
        std::array<int, ColumnCount> s{};
        for (int c = 0; c < ColumnCount; ++c)
            s[c] = basDatabase::RecipeColumnSize(QLatin1String(kColumnNames[c]));
        return s;
    }();
    return sizes[column];
}

int columnOf(QStringView attribute)
{
    for (int c = 0; c < ColumnCount; ++c)
        if (attribute.compare(QLatin1String(kColumnNames[c]), Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

// Steps through the rows of a rowset document: the root `xml`, its `rs:data`, and the `z:row`
// elements in it, directly or inside an `rs:insert` block (a recordset saved with pending inserts).
// Everything else (the schema, other pending-change blocks) is passed over.
class RowWalker {
public:
    // A walker that only counts leaves the rows' attributes where they are and drops the pictures. The
    // file reaches the parser through a filter that keeps long values out of memory (see XmlValueFilter).
    explicit RowWalker(const QString& path, bool keepRows = true) : file_(path, keepRows), keepRows_(keepRows)
    {
        if (!file_.open(QIODevice::ReadOnly))
            throw AppError(AppError::FileNotFound, "File not found");
        xml_.setDevice(&file_);
    }

    // The next row, false at the end of the document or where it stops being a rowset.
    bool nextRow()
    {
        while (!broken_ && !xml_.atEnd()) {
            switch (xml_.readNext()) {
            case QXmlStreamReader::StartElement:
                if (depth_ == 0) {
                    broken_ = xml_.name() != QLatin1String("xml");
                    ++depth_;
                } else if (depth_ == 1 && xml_.name() == QLatin1String("data") && xml_.namespaceUri() == kRowsetNs) {
                    sawData_ = true;
                    ++depth_;
                } else if (depth_ == 2 && xml_.name() == QLatin1String("insert") && xml_.namespaceUri() == kRowsetNs) {
                    ++depth_;
                } else if ((depth_ == 2 || depth_ == 3) && xml_.name() == QLatin1String("row") &&
                           xml_.namespaceUri() == kRowNs) {
                    if (keepRows_)
                        row_ = xml_.attributes();
                    xml_.skipCurrentElement();
                    return !xml_.hasError();
                } else {
                    xml_.skipCurrentElement();
                }
                break;
            case QXmlStreamReader::EndElement:
                --depth_;
                break;
            default:
                break;
            }
        }
        return false;
    }

    const QXmlStreamAttributes& row() const { return row_; }
    qint64 bytesRead() const { return file_.bytesRead(); }
    qint64 fileSize() const { return file_.fileSize(); }
    // The picture of the row in hand, given its RecipePicture value as the filter left it.
    QByteArray takePicture(QStringView value) { return file_.takePicture(value); }

    // Not well-formed, cut short, not UTF-8, or not a rowset document.
    bool failed() const { return broken_ || xml_.hasError() || !sawData_; }
    // Why the file failed and where, for the user.
    QString problem() const
    {
        const QString where = QString("The file could not be read (line %1): ").arg(xml_.lineNumber());
        if (xml_.hasError())
            return where + xml_.errorString();
        return where + (broken_ ? QStringLiteral("it is not a file of recipe rows.")
                                : QStringLiteral("it ends before its recipe rows."));
    }

private:
    XmlValueFilter file_;
    QXmlStreamReader xml_;
    QXmlStreamAttributes row_;
    bool keepRows_;
    int depth_ = 0;
    bool sawData_ = false;
    bool broken_ = false;
};

// Counts the rows of the file on a thread of its own and tells whether it is a complete rowset. A survey
// that is let go before its end stops at the next row.
class Survey {
public:
    struct Result {
        qint32 rows = 0;
        bool failed = false;
        QString problem; // why a complete walk failed, for the user
    };

    explicit Survey(const QString& path)
        : result_(std::async(std::launch::async, [this, path] {
              try {
                  Result result;
                  RowWalker walker(path, false);
                  fileSize_.store(walker.fileSize(), std::memory_order_relaxed);
                  while (!stop_.load(std::memory_order_relaxed) && walker.nextRow()) {
                      ++result.rows;
                      bytesRead_.store(walker.bytesRead(), std::memory_order_relaxed);
                  }
                  result.failed = walker.failed() || stop_.load(std::memory_order_relaxed);
                  if (walker.failed() && !stop_.load(std::memory_order_relaxed))
                      result.problem = walker.problem();
                  done_.store(true, std::memory_order_release);
                  return result;
              } catch (...) {
                  done_.store(true, std::memory_order_release);
                  throw;
              }
          }))
    {
    }

    ~Survey() { stop_.store(true, std::memory_order_relaxed); }

    bool done() const { return done_.load(std::memory_order_acquire); }
    // Waits at most `ms` milliseconds for the end of the walk.
    void waitFor(int ms) const { result_.wait_for(std::chrono::milliseconds(ms)); }
    qint64 bytesRead() const { return bytesRead_.load(std::memory_order_relaxed); }
    qint64 fileSize() const { return fileSize_.load(std::memory_order_relaxed); }
    // Waits for the end of the walk; a file that could not be read throws here.
    Result result() { return result_.get(); }

private:
    std::atomic<bool> done_{false};
    std::atomic<bool> stop_{false};
    std::atomic<qint64> bytesRead_{0};
    std::atomic<qint64> fileSize_{0};
    std::future<Result> result_; // last: its destructor waits for the walk, which uses done_
};

} // namespace

// One call of the XML reader.
class XmlImportRun {
public:
    XmlImportRun(cImport& owner, const QString& path) : owner_(owner), path_(path) {}

    // Why the file was refused as a whole ("" when it was not), for the user once the run has ended.
    const QString& problem() const { return problem_; }

    bool read()
    {
        basMain::lRecipesFound = 0;
        basMain::lRecipesImported = 0;
        basMain::lRecipesSkipped = 0;

        Survey survey(path_);
        RowWalker walker(path_);

        // Every way out commits, so the rows taken so far stay; the write lock is taken at once.
        db::Transaction transaction(basDatabase::cnCookbook, db::Transaction::OnScopeExit::Commit,
                                    db::Transaction::Lock::Immediate);
        titles_.emplace();
        db::Query insert(basDatabase::cnCookbook,
                         "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, PREPTIME, COOKTIME, TOTALTIME, YIELD, "
                         "CALORIESPERSERVING, INSTRUCTIONS, WINE, INGREDIENTS, ORIGIN, PICTURENAME, RECIPEPICTURE) "
                         "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
        // The rows stay inside this savepoint to the end: a refused file and a cancelled run keep none.
        basDatabase::cnCookbook.exec("SAVEPOINT xml_rows");
        try {
            while (!refused_ && !cancelled() && walker.nextRow()) {
                if (!surveyed_ && survey.done())
                    settle(survey);
                if (!refused_)
                    takeRow(walker, insert);
                if (!surveyed_)
                    owner_.raiseChecking(survey.bytesRead(), survey.fileSize());
            }
            // Every row is taken; the check of the file may still be on its way.
            while (!refused_ && !surveyed_ && !cancelled()) {
                survey.waitFor(50);
                if (survey.done())
                    settle(survey);
                else
                    owner_.raiseChecking(survey.bytesRead(), survey.fileSize());
            }
        } catch (...) {
            if (!surveyed_) {
                try {
                    settle(survey);
                } catch (...) {
                    // the first failure is the one to report
                }
            }
            try {
                CommitImport(transaction); // the rows taken stay, if the cookbook still can
            } catch (...) {
            }
            throw;
        }
        if (refused_)
            return false;
        if (cancelled()) {
            discard(transaction);
            return true;
        }
        basDatabase::cnCookbook.exec("RELEASE xml_rows");
        // A large file leaves much to write at the end: the window repaints meanwhile.
        try {
            runWhileAnswering([&transaction] { transaction.commit(); });
        } catch (...) {
            basMain::lRecipesImported = 0; // the cookbook keeps none of the rows
            throw;
        }
        return !walker.failed() && !failed_;
    }

private:
    // Once the survey has ended: a refused file loses the rows taken so far and its counters; a complete
    // one gets its count, the events held back are raised in their order, and the rows are kept.
    void settle(Survey& survey)
    {
        surveyed_ = true;
        Survey::Result result;
        try {
            result = survey.result();
        } catch (...) {
            refuse();
            throw;
        }
        if (result.failed) {
            problem_ = result.problem;
            return refuse();
        }

        const qint32 imported = basMain::lRecipesImported;
        const qint32 skipped = basMain::lRecipesSkipped;
        basMain::lRecipesFound = result.rows;
        basMain::lRecipesImported = basMain::lRecipesSkipped = 0;
        if (result.rows > 0)
            owner_.raiseProcessing();
        for (const auto& [importedThen, skippedThen] : heldEvents_) {
            basMain::lRecipesImported = importedThen;
            basMain::lRecipesSkipped = skippedThen;
            owner_.raiseProcessing();
        }
        heldEvents_.clear();
        basMain::lRecipesImported = imported;
        basMain::lRecipesSkipped = skipped;
    }

    void refuse()
    {
        refused_ = true;
        heldEvents_.clear();
        basMain::lRecipesFound = basMain::lRecipesImported = basMain::lRecipesSkipped = 0;
        basDatabase::cnCookbook.exec("ROLLBACK TO xml_rows");
    }

    static bool cancelled() { return basMain::bCancelImport; }

    // A cancelled run keeps no row, so that the file can simply be imported again. Undoing many rows
    // takes as long as a commit: the window repaints meanwhile.
    void discard(db::Transaction& transaction)
    {
        heldEvents_.clear();
        basMain::lRecipesImported = basMain::lRecipesSkipped = 0;
        runWhileAnswering([&transaction] {
            basDatabase::cnCookbook.exec("ROLLBACK TO xml_rows");
            basDatabase::cnCookbook.exec("RELEASE xml_rows");
            transaction.commit();
        });
    }

    void raiseProcessing()
    {
        if (surveyed_)
            owner_.raiseProcessing();
        else
            heldEvents_.emplace_back(basMain::lRecipesImported, basMain::lRecipesSkipped);
    }

    void takeRow(RowWalker& walker, db::Query& insert)
    {
        const QXmlStreamAttributes& attributes = walker.row();
        std::array<QString, ColumnCount> values;
        std::array<bool, ColumnCount> present{};
        bool tooLong = false;
        for (qsizetype i = 0; i < attributes.size(); ++i) {
            const QXmlStreamAttribute& a = attributes[i];
            if (!a.namespaceUri().isEmpty())
                continue;
            if (a.name() == QLatin1String(XmlValueFilter::kTooLongMark))
                tooLong = true;
            const int c = cachedColumnOf(i, a.name());
            if (c >= 0) {
                values[c] = a.value().toString();
                present[c] = true;
            }
        }
        // The picture comes from the filter, which decoded it from its hex digits as the file went by.
        const QByteArray pictureBytes = present[RecipePicture] ? walker.takePicture(values[RecipePicture]) : QByteArray();
        const bool pictureBad = present[RecipePicture] && values[RecipePicture] == QLatin1String("@bad");
        values[RecipePicture].clear();
        if (tooLong) // a value past the limit: the recipe is skipped, as the text readers skip one
            return rowFailed();
        const QString title = text::encodeApostrophes(values[Title]); // "" for a row without one
        if (titles_->contains(title))
            return rowSkipped();

        // A Null takes the column's default; the required Category, Ingredients and Instructions take an
        // empty text, Yield stays Null.
        auto value = [&](Column c, const char* nullDefault = nullptr) -> QVariant {
            if (present[c])
                return FitToSize(text::encodeApostrophes(values[c]), columnSize(c));
            return nullDefault ? QVariant(QString::fromLatin1(nullDefault)) : QVariant();
        };

        // The picture travels in the row itself; its name is only ever a bare file name.
        const QString pictureName = present[PictureName] ? paths::nameFromData(values[PictureName]) : QString();
        QVariant picture = QByteArray("");
        if (!pictureName.isEmpty()) {
            if (pictureBad)
                return rowFailed();
            picture = pictureBytes.isEmpty() ? QVariant() : QVariant(pictureBytes);
        }

        try {
            insert.reset();
            insert.bind(1, title)
                .bind(2, value(Author, "Not Known"))
                .bind(3, value(Category, ""))
                .bind(4, value(PrepTime, ""))
                .bind(5, value(CookTime, ""))
                .bind(6, value(TotalTime, ""))
                .bind(7, value(Yield))
                .bind(8, value(CaloriesPerServing, ""))
                .bind(9, value(Instructions, ""))
                .bind(10, value(Wine, ""))
                .bind(11, value(Ingredients, ""))
                .bind(12, value(Origin, "Unknown"))
                .bind(13, FitToSize(pictureName, columnSize(PictureName)))
                .bind(14, picture);
            insert.exec();
        } catch (const AppError& e) {
            if (!IsRecipeFault(e) || sqlite3_get_autocommit(basDatabase::cnCookbook.handle()))
                throw; // not this row alone
            return rowFailed();
        }
        titles_->add(title);
        ++basMain::lRecipesImported;
        raiseProcessing();
    }

    // The column of the row's i-th attribute. Rows of one file name their attributes in the same order,
    // so the answer for the same position in the row before is tried first.
    int cachedColumnOf(qsizetype i, QStringView name)
    {
        if (i >= attributeColumns_.size())
            attributeColumns_.resize(i + 1);
        auto& cached = attributeColumns_[i];
        if (cached.first != name) {
            cached.first = name.toString();
            cached.second = columnOf(name);
        }
        return cached.second;
    }

    void rowSkipped()
    {
        ++basMain::lRecipesSkipped;
        raiseProcessing();
    }

    void rowFailed()
    {
        failed_ = true;
        rowSkipped();
    }

    cImport& owner_;
    QString path_;
    QString problem_;
    std::optional<basDatabase::RecipeTitles> titles_; // read once the write lock is held
    QList<QPair<QString, int>> attributeColumns_;     // attribute name and column, by position in the row
    std::vector<std::pair<qint32, qint32>> heldEvents_; // imported and skipped, while the survey runs
    bool surveyed_ = false;
    bool refused_ = false;
    bool failed_ = false;
};

bool cImport::ImportXML(const QString& path)
{
    try {
        XmlImportRun run(*this, path);
        const bool read = run.read();
        if (!run.problem().isEmpty()) // told once the cookbook is free again
            basMain::LogError(kInvalidFileFormat, run.problem(), "ImportXML");
        return read;
    } catch (...) {
        return ImportFailed("ImportXML");
    }
}
