#include "core/RecipeListItems.h"

#include "core/MainWindow.h"
#include "platform/AppError.h"
#include "platform/db/Database.h"
#include "platform/db/UnicodeLike.h"
#include "platform/text/TextRules.h"

#include <QSignalBlocker>
#include <QTreeWidget>

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
    item->setData(0, ItemKeyRole, "R" + QString::number(id));
    if (withTag)
        item->setData(0, ItemTagRole, QString::number(id));
    item->setCheckState(0, marked ? Qt::Checked : Qt::Unchecked);
    return item;
}

int appendRows(QTreeWidget* list, db::Query& rows, bool withTag)
{
    QList<QTreeWidgetItem*> items;
    const QSignalBlocker block(list);
    try {
        while (rows.next()) {
            const QVariant mark = rows.value("MARK");
            items.append(makeItem(rows.value("ID").toLongLong(), rows.text("TITLE"), rows.text("CATEGORY"),
                                  !mark.isNull() && mark.toLongLong() != 0, withTag));
        }
    } catch (...) {
        list->addTopLevelItems(items);
        throw;
    }
    list->addTopLevelItems(items);
    return static_cast<int>(items.size());
}

QString itemKey(const QTreeWidgetItem* item) { return item ? item->data(0, ItemKeyRole).toString() : QString(); }
QString itemTag(const QTreeWidgetItem* item) { return item ? item->data(0, ItemTagRole).toString() : QString(); }

qint64 idOf(const QString& keyOrTag, int skip)
{
    bool ok = false;
    const qint64 id = keyOrTag.mid(skip).toLongLong(&ok);
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
