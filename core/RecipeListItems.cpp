#include "core/RecipeListItems.h"

#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "platform/AppError.h"
#include "platform/db/Database.h"
#include "platform/db/UnicodeLike.h"
#include "platform/text/DictionaryOrder.h"
#include "platform/text/TextRules.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <future>
#include <numeric>
#include <utility>

namespace recipelist {

RecipeRow makeRow(qint64 id, const QString& storedTitle, const QString& storedCategory, bool marked)
{
    return {id, text::decodeApostrophes(storedTitle), text::decodeApostrophes(storedCategory), marked};
}

namespace {
qint64 batchMs = 100;
}

qint64 setFillBatchInterval(qint64 ms)
{
    return std::exchange(batchMs, ms);
}

namespace {

// Runs `read` beside the window's thread. The connection is the window thread's, but that thread only
// repaints (it takes no input) until the work is done.
std::vector<RecipeRow> readOffThread(const std::function<void(std::vector<RecipeRow>&)>& read,
                                     std::exception_ptr* failure)
{
    std::vector<RecipeRow> rows;
    std::exception_ptr error;
    QElapsedTimer clock;
    clock.start();
    runOffThread(
        [&] {
            try {
                read(rows);
            } catch (...) {
                error = std::current_exception();
            }
        },
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    if (clock.elapsed() >= batchMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (error && !failure)
        std::rethrow_exception(error);
    if (failure)
        *failure = error;
    return rows;
}

void sortByTitle(std::vector<RecipeRow>& rows)
{
    text::sortInDictionaryOrder(rows, [](const RecipeRow& row) { return row.title; });
}

int listAll(RecipeList* list, std::vector<RecipeRow> rows, std::exception_ptr failure)
{
    const int count = static_cast<int>(rows.size());
    list->setRows(std::move(rows));
    if (failure)
        std::rethrow_exception(failure);
    return count;
}

// The titles as shown, with their recipes' IDs, in the order the titles' index gives them.
struct Titles {
    std::vector<qint64> ids;
    std::vector<QString> texts;
};

Titles readTitles(db::Query& titles)
{
    Titles read;
    while (titles.next()) {
        read.ids.push_back(titles.value(0).toLongLong());
        read.texts.push_back(text::decodeApostrophes(titles.text(1)));
    }
    return read;
}

// The categories as stored, with their recipes' IDs, in ID order.
std::vector<std::pair<qint64, QString>> readCategories(db::Query& categories)
{
    std::vector<std::pair<qint64, QString>> read;
    while (categories.next())
        read.emplace_back(categories.value(0).toLongLong(), categories.text(1));
    // The table gives its rows in ID order already.
    const auto byId = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (!std::is_sorted(read.begin(), read.end(), byId))
        std::stable_sort(read.begin(), read.end(), byId);
    return read;
}

std::vector<qint64> readMarks(db::Query& marked)
{
    std::vector<qint64> marks;
    while (marked.next())
        marks.push_back(marked.value(0).toLongLong());
    std::sort(marks.begin(), marks.end());
    return marks;
}

// The positions of the titles in ID order.
std::vector<int> inIdOrder(const Titles& titles)
{
    std::vector<int> order(titles.ids.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return titles.ids[a] < titles.ids[b]; });
    return order;
}

// What the other two queries say of each title: its categories as shown, whether the categories'
// query returned it (it is listed) and whether it is marked. Matched in ID order, so that the work
// grows with the rows and not with their product.
struct TitleDetails {
    std::vector<QString> categories;
    std::vector<char> listed, marked;
};

TitleDetails matchDetails(const Titles& titles, const std::vector<int>& inIdOrder,
                          const std::vector<std::pair<qint64, QString>>& categoryOf, const std::vector<qint64>& marks)
{
    const size_t count = titles.ids.size();
    TitleDetails details{std::vector<QString>(count), std::vector<char>(count, 0), std::vector<char>(count, 0)};
    auto category = categoryOf.begin();
    auto mark = marks.begin();
    for (int at : inIdOrder) {
        const qint64 id = titles.ids[at];
        while (category != categoryOf.end() && category->first < id)
            ++category;
        if (category != categoryOf.end() && category->first == id) {
            details.listed[at] = 1;
            details.categories[at] = text::decodeApostrophes(category->second);
            ++category;
        }
        while (mark != marks.end() && *mark < id)
            ++mark;
        details.marked[at] = mark != marks.end() && *mark == id;
    }
    return details;
}

} // namespace

std::vector<RecipeRow> readRows(db::Query& rows, std::exception_ptr* failure)
{
    return readOffThread(
        [&rows](std::vector<RecipeRow>& read) {
            const int id = rows.columnIndex("ID"), title = rows.columnIndex("TITLE"),
                      category = rows.columnIndex("CATEGORY"), mark = rows.columnIndex("MARK");
            try {
                while (rows.next()) {
                    const QVariant marked = rows.value(mark);
                    read.push_back(makeRow(rows.value(id).toLongLong(), rows.text(title), rows.text(category),
                                           !marked.isNull() && marked.toLongLong() != 0));
                }
            } catch (...) {
                sortByTitle(read);
                throw;
            }
            sortByTitle(read);
        },
        failure);
}

std::vector<RecipeRow> readRows(db::Query& titles, db::Query& categories, db::Query& marked, Listing listing,
                                std::exception_ptr* failure)
{
    return readOffThread(
        [&](std::vector<RecipeRow>& read) {
            // The categories take the longest (they come from the table itself): on a connection of their
            // own they are read beside the titles, else after them. When every title is listed, the
            // titles' dictionary order is worked out beside the rest as well.
            auto categoryRows =
                std::async(categories.sharesConnectionWith(titles) ? std::launch::deferred : std::launch::async,
                           [&categories] { return readCategories(categories); });
            Titles shown = readTitles(titles);
            std::future<std::vector<int>> everyTitleInOrder;
            if (listing == Listing::EveryTitle)
                everyTitleInOrder = std::async(std::launch::async,
                                               [&shown] { return text::DictionaryOrder().orderOf(shown.texts); });
            const std::vector<qint64> marks = readMarks(marked);
            const std::vector<int> titlesById = inIdOrder(shown);
            TitleDetails details = matchDetails(shown, titlesById, categoryRows.get(), marks);
            const auto take = [&](int at) {
                if (details.listed[at])
                    read.push_back({shown.ids[at], std::move(shown.texts[at]), std::move(details.categories[at]),
                                    details.marked[at] != 0});
            };
            if (everyTitleInOrder.valid()) {
                const std::vector<int> order = everyTitleInOrder.get();
                read.reserve(order.size());
                for (int at : order)
                    take(at);
            } else {
                for (int at = 0; at < static_cast<int>(shown.ids.size()); ++at)
                    take(at);
                sortByTitle(read);
            }
        },
        failure);
}

int fillRows(RecipeList* list, db::Query& rows)
{
    std::exception_ptr failure;
    std::vector<RecipeRow> read = readRows(rows, &failure);
    return listAll(list, std::move(read), failure);
}

int fillRows(RecipeList* list, db::Query& titles, db::Query& categories, db::Query& marked, Listing listing)
{
    std::exception_ptr failure;
    std::vector<RecipeRow> read = readRows(titles, categories, marked, listing, &failure);
    return listAll(list, std::move(read), failure);
}

QString keyOf(const RecipeRow& row) { return "R" + QString::number(row.id); }

const RecipeRow* selectedRow(const RecipeList* list)
{
    if (!list)
        return nullptr;
    const int index = list->selectedRow();
    return index < 0 ? nullptr : &list->row(index);
}

QString selectedKey(const RecipeList* list)
{
    const RecipeRow* row = selectedRow(list);
    return row ? keyOf(*row) : QString();
}

QString itemKey(const QTreeWidgetItem* item)
{
    if (!item)
        return {};
    const QVariant key = item->data(0, ItemKeyRole);
    return key.typeId() == QMetaType::LongLong ? "R" + QString::number(key.toLongLong()) : key.toString();
}

QString itemTag(const QTreeWidgetItem* item) { return item ? item->data(0, ItemTagRole).toString() : QString(); }

qint64 idOf(const QString& keyOrTag, int skip)
{
    bool ok = false;
    const qint64 id = keyOrTag.mid(skip).trimmed().toLongLong(&ok);
    if (!ok)
        throw AppError(AppError::TypeMismatch, "Type mismatch");
    return id;
}

QTreeWidgetItem* selectedItem(const QTreeWidget* widget)
{
    if (!widget)
        return nullptr;
    QTreeWidgetItem* current = widget->currentItem();
    if (current && current->isSelected())
        return current;
    const QList<QTreeWidgetItem*> selected = widget->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QStringList containsPatterns(const QString& name)
{
    return {"%" + db::likeLiteral(text::encodeApostrophes(name)) + "%", "%" + db::likeLiteral(name) + "%"};
}

} // namespace recipelist
