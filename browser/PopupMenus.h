#pragma once
// The main window's two right-click menus: `mnuSort` over the recipe list (the letter filter, the mark
// commands and "Add To Favourites") and `mnuDelete` over a favourite in the browse tree.
#include <QObject>
#include <QString>

class QMenu;
class QPoint;
class QTreeWidgetItem;
class QWidget;

class frmContextMenus : public QObject {
    Q_OBJECT
public:
    // The menus' items by index, as the handlers know them.
    enum SortItem { Filter = 0, CheckAll = 2, UncheckAll = 3, InverseSelection = 4, AddToFavourites = 6 };

    explicit frmContextMenus(QWidget* window);
    ~frmContextMenus() override;

    QMenu* mnuSort;
    QMenu* mnuDelete;
    // The tag of the favourite that "Remove From Favourites" removes: the tree node the menu was raised on.
    QString sFavouriteTag;

    // Shows a menu at the pointer and runs the chosen item once the menu has closed. `onRow`: raised on
    // a row of the list; in the list's empty part "Add To Favourites", which needs a row, is disabled.
    void popupSort(const QPoint& globalPos, bool onRow = true);
    void popupDelete(const QPoint& globalPos, const QTreeWidgetItem* favourite);

    void mnuSortOption_Click(int index);
    void mnuDeleteOption_Click(int index);

private:
    void markListedRecipes(int index);
    QWidget* window_;
};
