#pragma once
// The main window's recipe list read and changed the way a user meets it, for tests: a row by its
// title or position, its texts and check box; changing a box goes through the view's model, as a click
// on it does (so the mark is written).
#include "core/RecipeList.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QStringList>
#include <optional>

struct ListRow {
    RecipeList* list = nullptr;
    int index = -1;

    QString text(int column) const { return column == 0 ? list->row(index).title : list->row(index).categories; }
    QString key() const { return "R" + QString::number(list->row(index).id); }
    qint64 id() const { return list->row(index).id; }
    Qt::CheckState checkState(int = 0) const
    {
        return list->view()->model()->index(index, 0).data(Qt::CheckStateRole).value<Qt::CheckState>();
    }
    void setCheckState(int, Qt::CheckState state) const
    {
        QAbstractItemModel* model = list->view()->model();
        model->setData(model->index(index, 0), state, Qt::CheckStateRole);
    }
    // Current and selected, as a click makes it.
    void select() const { list->selectRow(index); }
    QRect rect() const { return list->view()->visualRect(list->view()->model()->index(index, 0)); }
    bool operator==(const ListRow& other) const { return list == other.list && index == other.index; }
};

inline std::optional<ListRow> listRow(RecipeList* list, int index)
{
    if (!list || index < 0 || index >= list->count())
        return std::nullopt;
    return ListRow{list, index};
}

inline std::optional<ListRow> listRow(RecipeList* list, const QString& title)
{
    for (int i = 0; list && i < list->count(); ++i)
        if (list->row(i).title == title)
            return ListRow{list, i};
    return std::nullopt;
}

inline std::optional<ListRow> selectedListRow(RecipeList* list)
{
    return list ? listRow(list, list->selectedRow()) : std::nullopt;
}

// The row the view's keyboard focus is on (-1 for none).
inline int currentListRow(RecipeList* list)
{
    const QModelIndex current = list->view()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

inline QStringList listTitles(RecipeList* list)
{
    QStringList out;
    for (int i = 0; list && i < list->count(); ++i)
        out << list->row(i).title;
    return out;
}
