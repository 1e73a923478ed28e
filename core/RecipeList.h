#pragma once
// The main window's recipe list as the rest of the program sees it: rows of recipes (ID, mark, title
// and categories as shown), of which one may be current and selected. The browser's list view
// implements it; code below the browser reaches it through IMainWindow::lstVRecipes().
#include <QString>
#include <functional>
#include <vector>

class QAbstractItemView;

// One recipe of the list: its ID (the key is "R" & ID), its title and CATEGORY with the stored "$$"
// shown as "'", and its mark (the check box).
struct RecipeRow {
    qint64 id = 0;
    QString title;
    QString categories;
    bool marked = false;
};

class RecipeList {
public:
    virtual ~RecipeList() = default;

    // The widget that shows the list.
    virtual QAbstractItemView* view() = 0;

    virtual int count() const = 0;
    virtual const RecipeRow& row(int index) const = 0;
    // The row of a recipe, -1 when it is not listed.
    virtual int rowOf(qint64 id) const = 0;

    // These rows, in this order, in place of every row; no mark is written.
    virtual void setRows(std::vector<RecipeRow> rows) = 0;
    void clear() { setRows({}); }
    // Removes one row (no other row moves but to close the gap).
    virtual void removeRow(int index) = 0;

    // Shows marks that are stored already: nothing is written.
    virtual void showMark(int index, bool marked) = 0;
    virtual void showMarks(const std::function<bool(const RecipeRow&)>& markOf) = 0;

    // The selected row (-1 when none), and making a row current and selected.
    virtual int selectedRow() const = 0;
    virtual void selectRow(int index) = 0;

    // Sizes the columns to what they show.
    virtual void fitColumns() = 0;
};
