#include "core/RecipeListItems.h"

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

void resetColumns(QTreeWidget* list)
{
    const QSignalBlocker block(list);
    list->clear();
    list->setColumnCount(2);
    list->setHeaderLabels({"Title", "Categories"});
}

QTreeWidgetItem* makeItem(qint64 id, const QString& storedTitle, const QString& storedCategory, bool marked,
                          bool withTag)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, text::decodeApostrophes(storedTitle));
    item->setText(1, text::decodeApostrophes(storedCategory));
    // The ID alone is kept (itemKey puts the "R" in front): a list of many recipes holds no key strings.
    item->setData(0, ItemKeyRole, id);
    if (withTag)
        item->setData(0, ItemTagRole, id);
    item->setCheckState(0, marked ? Qt::Checked : Qt::Unchecked);
    return item;
}

namespace {
qint64 batchMs = 100;
}

qint64 setFillBatchInterval(qint64 ms)
{
    return std::exchange(batchMs, ms);
}

int appendRows(QTreeWidget* list, db::Query& rows, bool withTag)
{
    // The rows are read whole, then go in in dictionary order in one insertion (each insertion makes the
    // view lay out every item it holds again). The window repaints while the rows are read, but takes no
    // input, so that no other fill can start under this one.
    const qint64 kBatchMs = batchMs;
    std::vector<QTreeWidgetItem*> read;
    const QSignalBlocker block(list);
    QElapsedTimer sinceYield;
    sinceYield.start();
    const auto yieldNow = [&] {
        if (sinceYield.isValid() && sinceYield.elapsed() < kBatchMs)
            return;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceYield.start();
    };
    const auto addAll = [&] {
        text::sortInDictionaryOrder(read, [](const QTreeWidgetItem* item) { return item->text(0); });
        sinceYield.invalidate(); // sorting a long list takes a while of its own: a repaint before the insertion
        yieldNow();
        list->addTopLevelItems(QList<QTreeWidgetItem*>(read.begin(), read.end()));
        return static_cast<int>(read.size());
    };
    try {
        while (rows.next()) {
            const QVariant mark = rows.value("MARK");
            read.push_back(makeItem(rows.value("ID").toLongLong(), rows.text("TITLE"), rows.text("CATEGORY"),
                                    !mark.isNull() && mark.toLongLong() != 0, withTag));
            yieldNow();
        }
    } catch (...) {
        addAll();
        throw;
    }
    return addAll();
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
