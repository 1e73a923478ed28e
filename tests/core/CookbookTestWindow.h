#pragma once
// A main window for cookbook tests: records the caption and ResetScreen calls, and has a recipe list with
// check boxes whose changes write the mark the way the real list does (and are counted).
#include "core/basDatabase.h"
#include "support/StubMainWindow.h"

#include <QTreeWidget>

class CookbookTestWindow final : public StubMainWindow {
public:
    CookbookTestWindow()
    {
        list_.setColumnCount(2);
        QObject::connect(&list_, &QTreeWidget::itemChanged, [this](QTreeWidgetItem* item, int) {
            ++markWrites;
            basDatabase::SetRecipeMark(item->data(0, Qt::UserRole).toString(), item->checkState(0) == Qt::Checked);
        });
    }

    // Adds a list item as the list fills do: key "R" & ID, title, check box.
    QTreeWidgetItem* addItem(qint64 recipeId, const QString& title, bool checked)
    {
        const QSignalBlocker block(&list_);
        auto* item = new QTreeWidgetItem(&list_, QStringList{title, "Dessert"});
        item->setData(0, Qt::UserRole, "R" + QString::number(recipeId));
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
        return item;
    }

    void ResetScreen() override
    {
        ++resets;
        list_.clear();
        basDatabase::sCurrentCookbook.clear();
    }
    QTreeWidget* lstVRecipes() override { return &list_; }

    int resets = 0;      // ResetScreen calls
    int markWrites = 0;  // check box changes that reached the cookbook

private:
    QTreeWidget list_;
};
