// The main window's entry points to the program's other windows: each opens its window and, where the
// window changed what the main window shows, brings the main window up to date.
#include "browser/frmMain.h"

#include "browser/PopupMenus.h"
#include "browser/frmMealMaker.h"
#include "browser/frmSearch.h"
#include "core/RecipeListItems.h"
#include "editor/frmDelete.h"

#include <QCursor>

// ---- recipe editor

void frmMain::showRecipeEditor()
{
}

// ---- delete dialog

void frmMain::showDeleteDialog()
{
    frmDelete dlg(this);
    dlg.Form_Load();
    dlg.exec();
}

// ---- reference-list editors

void frmMain::showEditCategories()
{
}

void frmMain::showEditIngredients()
{
}

void frmMain::showEditUnitsOfMeasure()
{
}

// ---- preferences

void frmMain::showOptions()
{
}

// ---- search

void frmMain::showSearch()
{
    frmSearch dlg(this);
    dlg.Form_Load();
    dlg.exec();
}

// ---- e-mail

void frmMain::showEmail()
{
}

// ---- import and export

void frmMain::showImport()
{
}

void frmMain::showExport()
{
}

// ---- wine list

void frmMain::showWineList()
{
}

// ---- unit converters

void frmMain::showConverters()
{
}

// ---- what can I make with?

void frmMain::showMealMaker()
{
    frmMealMaker dlg(this);
    dlg.exec();
}

// ---- clipboard watcher

void frmMain::CheckClipoard()
{
}

// ---- pop-up menus

void frmMain::popupSortMenu()
{
    frmContextMenus menus(this);
    menus.popupSort(QCursor::pos());
}

void frmMain::popupDeleteMenu()
{
    frmContextMenus menus(this);
    menus.popupDelete(QCursor::pos(), recipelist::selectedItem(tvRecipes_));
}
