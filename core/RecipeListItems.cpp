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

std::vector<RecipeRow> readRows(db::Query& rows, std::exception_ptr* failure)
{
    std::vector<RecipeRow> read;
    std::exception_ptr error;
    QElapsedTimer clock;
    clock.start();
    // The connection is the window thread's, but that thread only repaints until the work is done.
    runOffThread(
        [&] {
            try {
                const int id = rows.columnIndex("ID"), title = rows.columnIndex("TITLE"),
                          category = rows.columnIndex("CATEGORY"), mark = rows.columnIndex("MARK");
                const auto textAt = [&rows](int column) {
                    const QVariant value = rows.value(column);
                    return value.isNull() ? QString() : value.toString();
                };
                while (rows.next()) {
                    const QVariant marked = rows.value(mark);
                    read.push_back(makeRow(rows.value(id).toLongLong(), textAt(title), textAt(category),
                                           !marked.isNull() && marked.toLongLong() != 0));
                }
            } catch (...) {
                error = std::current_exception();
            }
            text::sortInDictionaryOrder(read, [](const RecipeRow& row) { return row.title; });
        },
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    if (clock.elapsed() >= batchMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (error && !failure)
        std::rethrow_exception(error);
    if (failure)
        *failure = error;
    return read;
}

int fillRows(RecipeList* list, db::Query& rows)
{
    std::exception_ptr failure;
    std::vector<RecipeRow> read = readRows(rows, &failure);
    const int count = static_cast<int>(read.size());
    list->setRows(std::move(read));
    if (failure)
        std::rethrow_exception(failure);
    return count;
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
