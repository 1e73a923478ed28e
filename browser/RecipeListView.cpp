#include "browser/RecipeListView.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>

RecipeListView::RecipeListView(QWidget* parent) : QTreeView(parent), model_(new RecipeListModel(this))
{
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(true);
}

void RecipeListView::setRows(std::vector<RecipeRow> rows)
{
    lastSearchKey_.invalidate();
    model_->setRows(std::move(rows));
}

void RecipeListView::removeRow(int index)
{
    // A removed current row leaves no row selected, rather than moving the selection to a recipe the
    // user did not choose.
    if (currentIndex().isValid() && currentIndex().row() == index)
        selectionModel()->clear();
    model_->removeRecipeRow(index);
}

int RecipeListView::selectedRow() const
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isSelected(current))
        return current.row();
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void RecipeListView::selectRow(int index)
{
    if (index < 0 || index >= count())
        return;
    const QModelIndex at = model_->index(index, 0);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(at);
}

void RecipeListView::fitColumns()
{
    // The view measures the rows on screen and a limited number around them, whatever the list's length.
    resizeColumnToContents(0);
    resizeColumnToContents(1);
    viewport()->update();
}

void RecipeListView::keyboardSearch(const QString& search)
{
    lastSearchKey_.start();
    QTreeView::keyboardSearch(search);
}

bool RecipeListView::typeAheadUnderWay() const
{
    return lastSearchKey_.isValid() && lastSearchKey_.elapsed() < QApplication::keyboardInputInterval();
}

void RecipeListView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Space && modifiers == Qt::NoModifier && typeAheadUnderWay()) {
        keyboardSearch(event->text());
        event->accept();
        return;
    }
    // Any key that types nothing (an arrow, Home ...) ends the type-ahead.
    if (event->text().isEmpty() || !event->text().at(0).isPrint())
        lastSearchKey_.invalidate();
    QTreeView::keyPressEvent(event);
}

void RecipeListView::focusInEvent(QFocusEvent* event)
{
    // Coming in from the keyboard, the row the next arrow moves from is the one the user sees selected.
    const bool fromKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    if (fromKeyboard && count() > 0 && selectedRow() < 0)
        selectRow(currentIndex().isValid() ? currentIndex().row() : 0);
    QTreeView::focusInEvent(event);
}
