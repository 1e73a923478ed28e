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

// Runs `read` beside the window's thread and sorts what it read in dictionary order. The connection is
// the window thread's, but that thread only repaints (it takes no input) until the work is done.
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
            text::sortInDictionaryOrder(rows, [](const RecipeRow& row) { return row.title; });
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

QString textAt(const db::Query& rows, int column)
{
    const QVariant value = rows.value(column);
    return value.isNull() ? QString() : value.toString();
}

int listAll(RecipeList* list, std::vector<RecipeRow> rows, std::exception_ptr failure)
{
    const int count = static_cast<int>(rows.size());
    list->setRows(std::move(rows));
    if (failure)
        std::rethrow_exception(failure);
    return count;
}

} // namespace

std::vector<RecipeRow> readRows(db::Query& rows, std::exception_ptr* failure)
{
    return readOffThread(
        [&rows](std::vector<RecipeRow>& read) {
            const int id = rows.columnIndex("ID"), title = rows.columnIndex("TITLE"),
                      category = rows.columnIndex("CATEGORY"), mark = rows.columnIndex("MARK");
            while (rows.next()) {
                const QVariant marked = rows.value(mark);
                read.push_back(makeRow(rows.value(id).toLongLong(), textAt(rows, title), textAt(rows, category),
                                       !marked.isNull() && marked.toLongLong() != 0));
            }
        },
        failure);
}

std::vector<RecipeRow> readRows(db::Query& titles, db::Query& categories, db::Query& marked,
                                std::exception_ptr* failure)
{
    return readOffThread(
        [&](std::vector<RecipeRow>& read) {
            // The table gives its rows in ID order already; the titles' index gives them in title order.
            std::vector<std::pair<qint64, QString>> categoryOf;
            while (categories.next())
                categoryOf.emplace_back(categories.value(0).toLongLong(), textAt(categories, 1));
            const auto byId = [](const auto& a, const auto& b) { return a.first < b.first; };
            if (!std::is_sorted(categoryOf.begin(), categoryOf.end(), byId))
                std::sort(categoryOf.begin(), categoryOf.end(), byId);
            std::vector<qint64> marks;
            while (marked.next())
                marks.push_back(marked.value(0).toLongLong());
            std::sort(marks.begin(), marks.end());
            read.reserve(categoryOf.size());
            while (titles.next()) {
                const qint64 id = titles.value(0).toLongLong();
                const auto category = std::lower_bound(categoryOf.begin(), categoryOf.end(),
                                                       std::pair<qint64, QString>(id, QString()), byId);
                if (category != categoryOf.end() && category->first == id)
                    read.push_back(makeRow(id, textAt(titles, 1), category->second,
                                           std::binary_search(marks.begin(), marks.end(), id)));
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

int fillRows(RecipeList* list, db::Query& titles, db::Query& categories, db::Query& marked)
{
    std::exception_ptr failure;
    std::vector<RecipeRow> read = readRows(titles, categories, marked, &failure);
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
