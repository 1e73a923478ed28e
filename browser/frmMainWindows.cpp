// The main window's entry points to the program's other windows: each opens its window and, where the
// window changed what the main window shows, brings the main window up to date.
#include "browser/frmMain.h"

#include "browser/PopupMenus.h"
#include "browser/RecipeListView.h"
#include "browser/frmMealMaker.h"
#include "browser/frmOptions.h"
#include "browser/frmSearch.h"
#include "browser/frmconverters.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "editor/frmAddRecipe.h"
#include "editor/frmDelete.h"
#include "editor/frmEditCats.h"
#include "editor/frmEditIngredients.h"
#include "editor/frmEditUOM.h"
#include "editor/frmWineAdd.h"
#include "exchange/ClipboardWatcher.h"
#include "exchange/frmEmail.h"
#include "exchange/frmExport.h"
#include "exchange/frmImport.h"

#include <QCursor>
#include <QTreeWidget>

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
    frmDelete dlg(this);
    dlg.Form_Load();
    dlg.exec();
}

// ---- reference-list editors

// The editors refresh the main window themselves when their Close button is pressed. A failure of the
// ingredient or unit editor's first load ends the opening and is the command's to report.
template <class Editor>
static void showReferenceListEditor(QWidget* parent)
{
    try {
        Editor dlg(parent);
        dlg.exec();
    } catch (...) {
        basMain::LogCurrentException("cmdBar ButtonClick");
    }
}

void frmMain::showEditCategories() { showReferenceListEditor<frmEditCats>(this); }

void frmMain::showEditIngredients() { showReferenceListEditor<frmEditIngredients>(this); }

void frmMain::showEditUnitsOfMeasure() { showReferenceListEditor<frmEditUOM>(this); }

// ---- preferences

void frmMain::showOptions()
{
    frmOptions dlg(this);
    dlg.exec();
}

void frmMain::ShowPreferences(int page, QWidget* parent)
{
    frmOptions dlg(parent ? parent : this);
    dlg.cmdAction_Click(page);
    dlg.exec();
}

// ---- search

void frmMain::showSearch()
{
    frmSearch dlg(this);
    dlg.Form_Load();
    dlg.exec();
    // However the search was left, the keys go on in the list it filled (not the menu it came from).
    lstVRecipes_->setFocus(Qt::OtherFocusReason);
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
    frmWineAdd dlg(this);
    dlg.exec();
}

// ---- unit converters

void frmMain::showConverters()
{
    frmconverters dlg(this);
    dlg.exec();
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
    basMain::CheckClipoard();
}

// ---- pop-up menus

void frmMain::popupSortMenu(const QPoint& globalPos, bool onRow)
{
    frmContextMenus menus(this);
    menus.popupSort(globalPos, onRow);
}

void frmMain::popupDeleteMenu(const QPoint& globalPos)
{
    frmContextMenus menus(this);
    menus.popupDelete(globalPos, recipelist::selectedItem(tvRecipes_));
}
