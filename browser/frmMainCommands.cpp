// The main window's commands: every click on the menu bar, the toolbar and their drop-downs arrives here
// and is dispatched on the clicked button's caption.
#include "browser/frmMain.h"

#include "browser/RecipeListView.h"

#include "browser/PageSaver.h"
#include "browser/PageView.h"
#include "browser/frmAbout.h"
#include "core/ProtectedFiles.h"
#include "core/RecipeListItems.h"
#include "core/Settings.h"
#include "core/basMain.h"
#include "core/frmCookbook.h"
#include "platform/AppError.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/ui/Ui.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <functional>

void frmMain::cmdBar_ButtonClick(QAction* button)
{
    using Command = std::function<void(frmMain&, QAction*)>;
    // Captions are compared exactly; a caption that is not here (a drop-down's own button, a menu title,
    // a separator) does nothing.
    static const QHash<QString, Command> commands{
        {"Cookbook Manager", [](frmMain& w, QAction*) { w.showCookbookManager(); }},
        {"Save Recipe", [](frmMain& w, QAction*) { w.saveRecipe(); }},
        {"Print", [](frmMain& w, QAction*) { w.printRecipe(); }},
        {"&Print", [](frmMain& w, QAction*) { w.printRecipe(); }},
        {"Print Preview", [](frmMain& w, QAction*) { w.previewRecipe(); }},
        {"P&rint Preview", [](frmMain& w, QAction*) { w.previewRecipe(); }},
        {"Page Setup", [](frmMain& w, QAction*) { w.pageSetup(); }},
        {"P&age Setup", [](frmMain& w, QAction*) { w.pageSetup(); }},
        // The stop timer acts on the request; asked at once, once the menu has closed, the program ends as
        // quickly as from the close box rather than at the timer's next tick.
        {"Exit",
         [](frmMain& w, QAction*) {
             basMain::bShutdownPending = true;
             QTimer::singleShot(0, &w, &frmMain::tmrStop_Timer);
         }},
        {"Edit Categories", [](frmMain& w, QAction*) { w.showEditCategories(); }},
        {"Edit Ingredients", [](frmMain& w, QAction*) { w.showEditIngredients(); }},
        {"Edit Units Of Measure", [](frmMain& w, QAction*) { w.showEditUnitsOfMeasure(); }},
        {"Display Toolbar", [](frmMain& w, QAction*) { w.toggleToolbar(); }},
        {"Display Status Bar", [](frmMain& w, QAction*) { w.toggleStatusBar(); }},
        {"Options", [](frmMain& w, QAction*) { w.showOptions(); }},
        {"Monitor Clipboard", [](frmMain& w, QAction* b) { w.switchClipboardMonitor(b); }},
        {"Contents", [](frmMain& w, QAction*) { w.openHelpContents(); }},
        {"About", [](frmMain& w, QAction*) { w.showAbout(); }},
        {"Add Recipe", [](frmMain& w, QAction*) { w.addRecipe(); }},
        {"Edit Recipe", [](frmMain& w, QAction*) { w.editRecipe(); }},
        {"Delete Recipe", [](frmMain& w, QAction*) { w.deleteRecipe(); }},
        {"Search", [](frmMain& w, QAction*) { w.showSearch(); }},
        {"Email", [](frmMain& w, QAction*) { w.sendEmail(); }},
        {"&Import From File", [](frmMain& w, QAction*) { w.showImport(); }},
        {"&Export to file", [](frmMain& w, QAction*) { w.showExport(); }},
        {"Wine", [](frmMain& w, QAction*) { w.showWineList(); }},
        {"Conversions", [](frmMain& w, QAction*) { w.showConverters(); }},
        {"MealMaker", [](frmMain& w, QAction*) { w.showMealMaker(); }},
    };
    if (!button)
        return;
    try {
        const auto command = commands.constFind(button->text());
        if (command != commands.constEnd())
            (*command)(*this, button);
    } catch (...) {
        basMain::LogCurrentException("cmdBar ButtonClick");
    }
}

void frmMain::showAbout()
{
    frmAbout dlg(this);
    dlg.exec();
}

void frmMain::showCookbookManager()
{
    frmCookbook dlg(this);
    dlg.exec();
    showBlankPage();
}

void frmMain::toggleToolbar()
{
    toolBar_->setVisible(toolBar_->isHidden());
    SizeControls();
}

void frmMain::toggleStatusBar()
{
    statusBar()->setVisible(statusBar()->isHidden());
    SizeControls();
}

void frmMain::switchClipboardMonitor(QAction* button)
{
    if (button->isChecked()) {
        tmrClipBoard_->start();
        WriteINI("Options", "Monitor Clipboard", "True");
    } else {
        tmrClipBoard_->stop();
        button->setChecked(false);
        WriteINI("Options", "Monitor Clipboard", "False");
    }
}

void frmMain::openHelpContents()
{
    const QString help = paths::resolve("\\help\\index.html");
    if (!ui::openDocument(help))
        ui::msgBox("No program could be found to open the help page " + QDir::toNativeSeparators(help) + ".",
                   ui::Buttons::OK, ui::Icon::Exclamation, ui::programTitle());
}

void frmMain::addRecipe()
{
    basMain::sEditRecipeKey.clear();
    showRecipeEditor();
}

void frmMain::editRecipe()
{
    const QString key = recipelist::selectedKey(lstVRecipes_);
    if (key.isEmpty())
        return;
    basMain::sEditRecipeKey = key;
    showRecipeEditor();
}

void frmMain::deleteRecipe()
{
    if (!recipelist::selectedRow(lstVRecipes_))
        return;
    showDeleteDialog();
    showBlankPage();
}

void frmMain::sendEmail()
{
    if (lstVRecipes_->count() > 0 && recipelist::selectedRow(lstVRecipes_))
        showEmail();
}

// ---- the page on display

void frmMain::saveRecipe()
{
    const QString page = wbMain_->source().toLocalFile();
    if (page.isEmpty() || !QFileInfo(page).isFile())
        return;
    QString name = wbMain_->documentTitle().trimmed();
    name.replace(QRegularExpression(R"([/\\:*?"<>|])"), "-");
    name = name.isEmpty() ? QFileInfo(page).fileName() : name + ".html";
    // A file the program keeps is refused before the question whether to replace it, so the file dialog
    // does not ask.
    const QString target = ui::getSaveFileName("Save Recipe", QDir::home().filePath(name),
                                               "Web Page (*.html *.htm);;All Files (*)", {}, false);
    if (target.isEmpty())
        return;
    if (const QString refused = ProtectedFileMessage(target); !refused.isEmpty()) {
        ui::msgBox(refused, ui::Buttons::OK, ui::Icon::Exclamation, "Save Recipe");
        return;
    }
    if (QFileInfo::exists(target)
        && ui::msgBox(QDir::toNativeSeparators(target) + " already exists.\nDo you want to replace it?",
                      ui::Buttons::YesNo, ui::Icon::Question, "Save Recipe", ui::DefaultButton::Second)
               != ui::Answer::Yes)
        return;
    SavePageWithPicture(page, target, shownPicture_);
}

QPrinter& frmMain::printer()
{
    // One printer for the window, so that the page setup applies to every later print.
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void frmMain::printRecipe()
{
    if (execPrintDialog(printer()))
        printPage(&printer());
}

void frmMain::previewRecipe() { execPrintPreview(printer()); }
void frmMain::pageSetup() { execPageSetup(printer()); }
// The page is printed whole, even when the view shows the beginning of a very long recipe only.
void frmMain::printPage(QPrinter* printer)
{
    if (auto* view = qobject_cast<PageView*>(wbMain_))
        view->printWhole(printer);
    else
        wbMain_->print(printer);
}

bool frmMain::execPrintDialog(QPrinter& printer)
{
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
}

void frmMain::execPrintPreview(QPrinter& printer)
{
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &frmMain::printPage);
    dialog.exec();
}

bool frmMain::execPageSetup(QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
}
