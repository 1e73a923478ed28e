#include "browser/RecipeListModel.h"

#include "core/MainWindow.h"

int RecipeListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecipeListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant RecipeListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const RecipeRow& row = rows_[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: return index.column() == 0 ? row.title : row.categories;
    case Qt::CheckStateRole:
        return index.column() == 0 ? QVariant(row.marked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case ItemKeyRole: return index.column() == 0 ? QVariant(row.id) : QVariant();
    default: return {};
    }
}

QVariant RecipeListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("Title") : section == 1 ? QStringLiteral("Categories") : QVariant();
}

Qt::ItemFlags RecipeListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool RecipeListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 || index.row() >= rowCount())
        return false;
    const bool marked = value.toInt() == Qt::Checked;
    if (rows_[static_cast<size_t>(index.row())].marked == marked)
        return true;
    showMark(index.row(), marked);
    Q_EMIT markToggled(index.row(), marked);
    return true;
}

void RecipeListModel::setRows(std::vector<RecipeRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    rows_.shrink_to_fit();
    endResetModel();
}

void RecipeListModel::removeRecipeRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void RecipeListModel::showMark(int row, bool marked)
{
    if (row < 0 || row >= rowCount())
        return;
    rows_[static_cast<size_t>(row)].marked = marked;
    const QModelIndex at = index(row, 0);
    Q_EMIT dataChanged(at, at, {Qt::CheckStateRole});
}

void RecipeListModel::showMarks(const std::function<bool(const RecipeRow&)>& markOf)
{
    for (RecipeRow& row : rows_)
        row.marked = markOf(row);
    if (!rows_.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

int RecipeListModel::rowOf(qint64 id) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id)
            return static_cast<int>(i);
    return -1;
}
