// The main window's entry points to the program's other windows: each opens its window and, where the
// window changed what the main window shows, brings the main window up to date.
#include "browser/frmMain.h"

#include "core/basDatabase.h"
#include "core/basMain.h"
#include "editor/frmAddRecipe.h"

// ---- recipe editor

void frmMain::showRecipeEditor()
{
    if (!basDatabase::cnCookbook.isOpen())
        return;
    basMain::RunHandler("showRecipeEditor", [&] {
        frmAddRecipe editor(this);
        editor.Form_Load();
        if (editor.loaded())
            editor.exec();
    });
}

// ---- delete dialog

void frmMain::showDeleteDialog()
{
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
}

// ---- clipboard watcher

void frmMain::CheckClipoard()
{
}

// ---- pop-up menus

void frmMain::popupSortMenu()
{
}

void frmMain::popupDeleteMenu()
{
}
