#pragma once
// The rows behind the main window's recipe list: one compact row per recipe (ID, mark, title,
// categories), shown in two columns, "Title" with the check box and "Categories". A list of 250,000
// recipes holds nothing else per row.
#include "core/RecipeList.h"

#include <QAbstractTableModel>
#include <vector>

class RecipeListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A check box the user changed: shown at once, and told through markToggled.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const std::vector<RecipeRow>& rows() const { return rows_; }
    void setRows(std::vector<RecipeRow> rows);
    void removeRecipeRow(int row);
    void showMark(int row, bool marked);
    void showMarks(const std::function<bool(const RecipeRow&)>& markOf);
    int rowOf(qint64 id) const;

Q_SIGNALS:
    // The user set or cleared the check box of a row (never sent for marks set from code).
    void markToggled(int row, bool marked);

private:
    std::vector<RecipeRow> rows_;
};
