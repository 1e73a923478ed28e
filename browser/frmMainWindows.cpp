// The main window's entry points to the program's other windows: each opens its window and, where the
// window changed what the main window shows, brings the main window up to date.
#include "browser/frmMain.h"
#include "core/basMain.h"
#include "exchange/frmEmail.h"

// ---- recipe editor

void frmMain::showRecipeEditor()
{
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
    basMain::RunHandler("showEmail", [&] {
        frmEmail dialog(this);
        dialog.exec();
    });
}

// ---- import and export

#include "exchange/frmExport.h"
#include "exchange/frmImport.h"

void frmMain::showImport()
{
    frmImport dialog(this);
    dialog.exec();
}

void frmMain::showExport()
{
    frmExport dialog(this);
    dialog.exec();
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

#include "exchange/ClipboardWatcher.h"

void frmMain::CheckClipoard()
{
    basMain::CheckClipoard();
}

// ---- pop-up menus

void frmMain::popupSortMenu()
{
}

void frmMain::popupDeleteMenu()
{
}
