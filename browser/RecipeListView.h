#pragma once
// The main window's recipe list `lstVRecipes`: a report view with check boxes over RecipeListModel.
// Space marks the current recipe, except while a type-ahead search is under way: then it is part of
// the title being typed. Tab into the list makes its first row current and selected.
#include "browser/RecipeListModel.h"
#include "core/RecipeList.h"

#include <QElapsedTimer>
#include <QTreeView>

class RecipeListView : public QTreeView, public RecipeList {
    Q_OBJECT
public:
    explicit RecipeListView(QWidget* parent = nullptr);

    RecipeListModel* recipes() const { return model_; }

    // RecipeList
    QAbstractItemView* view() override { return this; }
    int count() const override { return model_->rowCount(); }
    const RecipeRow& row(int index) const override { return model_->rows()[static_cast<size_t>(index)]; }
    int rowOf(qint64 id) const override { return model_->rowOf(id); }
    void setRows(std::vector<RecipeRow> rows) override;
    void removeRow(int index) override;
    void showMark(int index, bool marked) override { model_->showMark(index, marked); }
    void showMarks(const std::function<bool(const RecipeRow&)>& markOf) override { model_->showMarks(markOf); }
    int selectedRow() const override;
    void selectRow(int index) override;
    void fitColumns() override;

    void keyboardSearch(const QString& search) override;
    // True while keys typed now go on the title searched for.
    bool typeAheadUnderWay() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    RecipeListModel* model_;
    QElapsedTimer lastSearchKey_;
};
