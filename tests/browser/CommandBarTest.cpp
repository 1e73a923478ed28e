// The menu bar and toolbar made from the command keys, and the commands dispatched on the captions.
#include "BrowserFixture.h"

#include "browser/CommandBar.h"
#include "support/TestQueries.h"
#include "core/Settings.h"
#include "core/basMain.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPrinter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

QStringList keysOf(const QList<QAction*>& buttons)
{
    QStringList keys;
    for (const QAction* b : buttons)
        keys << b->objectName();
    return keys;
}

QStringList captionsOf(const QList<QAction*>& buttons)
{
    QStringList captions;
    for (const QAction* b : buttons)
        captions << b->text();
    return captions;
}

} // namespace

TEST(CommandKeys, BarsFollowFromTheKeysAlone)
{
    QWidget owner;
    CommandBarStore store(&owner);
    for (const char* key : {"A", "A:B", "A:B:C", "X:Y", "A:D", "A:Q:R", "A:B:E", "AB:F"})
        store.addButton(0, key, -1, key, ButtonStyle::Normal);
    AddChildButtons(store, 0, "A", nullptr);

    ASSERT_NE(store.bar("A"), nullptr);
    EXPECT_EQ(keysOf(store.bar("A")->actions()), QStringList({"A:B", "A:D"}));
    EXPECT_EQ(keysOf(store.bar("A:B")->actions()), QStringList({"A:B:C", "A:B:E"}));
    EXPECT_EQ(store.button("A:B")->menu(), store.bar("A:B"));
    EXPECT_EQ(store.bar("A:D"), nullptr) << "a key without children gets no bar";
    EXPECT_EQ(store.bar("A:Q"), nullptr) << "a key is reached only through its parent";
    EXPECT_EQ(store.bar("A")->title(), "A");
}

using CommandBar = BrowserTest;

TEST_F(CommandBar, TheMenuBarShowsTheMenusBuiltFromTheKeys)
{
    frmMain w;
    EXPECT_EQ(captionsOf(w.menuBar()->actions()), QStringList({"&File", "&Edit", "&View", "&Clipboard", "&Help"}));

    struct MenuRow {
        const char* title;
        QStringList captions;
    };
    const MenuRow menus[] = {
        {"&File", {"Cookbook Manager", "Save Recipe", "", "Print", "Print Preview", "Page Setup", "", "Exit"}},
        {"&Edit", {"Edit Categories", "Edit Ingredients", "Edit Units Of Measure"}},
        {"&View", {"Display Toolbar", "Display Status Bar", "", "Options"}},
        {"&Clipboard", {"Monitor Clipboard"}},
        {"&Help", {"Contents", "", "About"}},
    };
    for (const MenuRow& row : menus) {
        QAction* title = nullptr;
        for (QAction* a : w.menuBar()->actions())
            if (a->text() == row.title)
                title = a;
        ASSERT_TRUE(title && title->menu()) << row.title;
        EXPECT_EQ(captionsOf(title->menu()->actions()), row.captions) << row.title;
        for (QAction* item : title->menu()->actions()) {
            EXPECT_TRUE(item->isEnabled()) << "menu items are never disabled";
            EXPECT_EQ(item->isCheckable(), item->text().startsWith("Display") || item->text() == "Monitor Clipboard");
            EXPECT_EQ(item->icon().isNull(), CommandBarStore::image(item) < 0) << item->objectName().toStdString();
        }
    }
}

TEST_F(CommandBar, TheToolbarAndItsTwoDropDowns)
{
    frmMain w;
    auto* toolbar = w.findChild<QToolBar*>("cmdBar_1");
    EXPECT_EQ(captionsOf(toolbar->actions()),
              QStringList({"Cookbook Manager", "Add Recipe", "Edit Recipe", "Delete Recipe", "", "Search", "Email",
                           "Import/Export", "Print", "", "Wine", "Conversions", "MealMaker"}));
    for (QAction* button : toolbar->actions()) {
        if (button->isSeparator())
            continue;
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
        auto* tool = qobject_cast<QToolButton*>(toolbar->widgetForAction(button));
        ASSERT_NE(tool, nullptr);
        EXPECT_EQ(tool->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    }

    QMenu* importExport = w.commandButton("TOOLBAR:IMPORT")->menu();
    QMenu* print = w.commandButton("TOOLBAR:PRINT")->menu();
    ASSERT_TRUE(importExport && print);
    EXPECT_EQ(importExport->objectName(), "VIEWMENU");
    EXPECT_EQ(captionsOf(importExport->actions()), QStringList({"&Import From File", "&Export to file"}));
    EXPECT_EQ(print->objectName(), "PRINTMENU");
    EXPECT_EQ(captionsOf(print->actions()), QStringList({"&Print", "P&rint Preview", "P&age Setup"}));
    EXPECT_EQ(qobject_cast<QToolButton*>(toolbar->widgetForAction(w.commandButton("TOOLBAR:PRINT")))->popupMode(),
              QToolButton::MenuButtonPopup);
    EXPECT_FALSE(w.commandButton("SUB:EXPORT")->icon().isNull());
    EXPECT_TRUE(w.commandButton("SUB:IMPORT")->icon().isNull());
}

TEST_F(CommandBar, EnableAndResetSwitchTheCookbookCommandsAndLetterButtons)
{
    const QStringList cookbookKeys{"TOOLBAR:ADDRECIPE", "TOOLBAR:EDITRECIPE", "TOOLBAR:DELETERECIPE",
                                   "TOOLBAR:SEARCH",    "TOOLBAR:EMAIL",      "TOOLBAR:IMPORT",
                                   "TOOLBAR:PRINT",     "TOOLBAR:MEALMAKER"};
    const QStringList alwaysOn{"TOOLBAR:OPENCOOKBOOK", "TOOLBAR:WINE", "TOOLBAR:CONVERT", "MENU:FILE:PRINT"};
    auto expectState = [&](frmMain& w, bool on) {
        for (const QString& key : cookbookKeys)
            EXPECT_EQ(w.commandButton(key)->isEnabled(), on) << key.toStdString();
        for (const QString& key : alwaysOn)
            EXPECT_TRUE(w.commandButton(key)->isEnabled()) << key.toStdString();
        for (int i = 0; i <= 26; ++i)
            EXPECT_EQ(w.findChild<QToolButton*>(QString("cmdList_%1").arg(i))->isEnabled(), on) << i;
    };

    auto w = openWindow(makeCookbook());
    expectState(*w, true);
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    w->setStatusText("kept");

    basDatabase::CloseCookbook(); // resets the window
    expectState(*w, false);
    EXPECT_EQ(w->tvRecipes()->topLevelItemCount(), 0);
    EXPECT_EQ(w->lstVRecipes()->count(), 0);
    EXPECT_EQ(w->findChild<QLabel*>("lblDisplay")->text(), "");
    EXPECT_TRUE(basDatabase::sCurrentCookbook.isEmpty());
    EXPECT_EQ(w->windowTitle(), "Tovalquendry - Version " + basMain::versionNumbers() + " (No current Cookbook)")
        << "no closed cookbook stays named in the caption";
    EXPECT_EQ(w->statusText(), "") << "no count of a list that is gone";
    EXPECT_EQ(w->locationName(), "blank.html");
}

TEST_F(CommandBar, CommandsAreDispatchedOnTheCaption)
{
    frmMain w;
    auto* toolbar = w.findChild<QToolBar*>("cmdBar_1");

    w.commandButton("MENU:VIEW:DISPTOOLBAR")->trigger();
    EXPECT_TRUE(toolbar->isHidden());
    EXPECT_FALSE(w.commandButton("MENU:VIEW:DISPTOOLBAR")->isChecked());
    w.commandButton("MENU:VIEW:DISPTOOLBAR")->trigger();
    EXPECT_FALSE(toolbar->isHidden());

    w.commandButton("MENU:VIEW:DISPSTATUSBAR")->trigger();
    EXPECT_TRUE(w.statusBar()->isHidden());

    auto* monitor = w.findChild<QTimer*>("tmrClipBoard");
    w.commandButton("MENU:CLIP:MONITOR")->trigger();
    EXPECT_TRUE(monitor->isActive());
    EXPECT_EQ(ReadINI("Options", "Monitor Clipboard"), "True");
    w.commandButton("MENU:CLIP:MONITOR")->trigger();
    EXPECT_FALSE(monitor->isActive());
    EXPECT_FALSE(w.commandButton("MENU:CLIP:MONITOR")->isChecked());
    EXPECT_EQ(ReadINI("Options", "Monitor Clipboard"), "False");

    w.commandButton("MENU:HELP:CONTENTS")->trigger();
    EXPECT_EQ(recorder.opened, QStringList({program.path("help/index.html")}));

    basMain::sEditRecipeKey = "R9";
    w.commandButton("TOOLBAR:EDITRECIPE")->setEnabled(true);
    w.cmdBar_ButtonClick(w.commandButton("TOOLBAR:EDITRECIPE"));
    EXPECT_EQ(basMain::sEditRecipeKey, "R9") << "no selected recipe: nothing happens";
    w.cmdBar_ButtonClick(w.commandButton("TOOLBAR:ADDRECIPE"));
    EXPECT_EQ(basMain::sEditRecipeKey, "") << "a new recipe";

    // The drop-down's own button, the menu titles and separators do nothing.
    for (const char* key : {"TOOLBAR:IMPORT", "MENU:FILE", "MENU:FILE:SEP1"})
        w.cmdBar_ButtonClick(w.commandButton(key));
    EXPECT_FALSE(basMain::bShutdownPending);
    w.commandButton("MENU:FILE:EXIT")->trigger();
    EXPECT_TRUE(basMain::bShutdownPending);
    EXPECT_EQ(program.errorLog(), "");
}

TEST_F(CommandBar, EditAndDeleteActOnTheSelectedRecipe)
{
    auto w = openWindow(makeCookbook());
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    auto soup = listItem(w->lstVRecipes(), "Carrot Soup");
    ASSERT_TRUE(soup);
    soup->select();

    QString opened, title;
    whenModalOpens([&](QWidget* dialog) {
        opened = dialog->objectName();
        title = dialog->findChild<QLineEdit*>("txtTitle")->text();
        dialog->close();
    });
    w->commandButton("TOOLBAR:EDITRECIPE")->trigger();
    EXPECT_EQ(opened, "frmAddRecipe");
    EXPECT_EQ(title, "Carrot Soup") << "the editor opens on the selected recipe";

    w->findChild<QTextBrowser*>("wbMain")->setSource(QUrl::fromLocalFile(program.path("help/index.html")));
    opened.clear();
    whenModalOpens([&](QWidget* dialog) {
        opened = dialog->objectName();
        dialog->close();
    });
    w->commandButton("TOOLBAR:DELETERECIPE")->trigger();
    EXPECT_EQ(opened, "frmDelete");
    EXPECT_EQ(w->locationName(), "blank.html") << "the page goes back to blank after the delete dialog";
}

TEST_F(CommandBar, CookbookManagerAndAboutOpenModally)
{
    frmMain w;
    w.findChild<QTextBrowser*>("wbMain")->setSource(QUrl::fromLocalFile(program.path("help/index.html")));
    QString opened;
    whenModalOpens([&](QWidget* dialog) {
        opened = dialog->objectName();
        dialog->close();
    });
    w.commandButton("TOOLBAR:OPENCOOKBOOK")->trigger();
    EXPECT_EQ(opened, "frmCookbook");
    EXPECT_EQ(w.locationName(), "blank.html");

    whenModalOpens([&](QWidget* dialog) {
        opened = dialog->objectName();
        dialog->close();
    });
    w.commandButton("MENU:HELP:ABOUT")->trigger();
    EXPECT_EQ(opened, "frmAbout");
}

namespace {

// A window whose printing dialogs answer from the test.
class PrintingWindow : public frmMain {
public:
    QStringList calls;
    QString pdf;
    QPageLayout::Orientation orientationAtPrint = QPageLayout::Portrait;

protected:
    bool execPrintDialog(QPrinter& printer) override
    {
        calls << "print";
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        orientationAtPrint = printer.pageLayout().orientation();
        return true;
    }
    void execPrintPreview(QPrinter& printer) override
    {
        calls << "preview";
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printPage(&printer);
    }
    bool execPageSetup(QPrinter& printer) override
    {
        calls << "setup";
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    }
};

} // namespace

TEST_F(CommandBar, PrintingCommandsShareOnePrinterSoThePageSetupLasts)
{
    PrintingWindow w;
    w.pdf = program.path("out.pdf");
    for (const char* key : {"MENU:FILE:PAGESETUP", "MENU:FILE:PRINT", "SUB:PRINTSETUP", "SUB:PRINT", "TOOLBAR:PRINT",
                            "MENU:FILE:PRINTPREVIEW", "SUB:PRINTPREVIEW"}) {
        w.commandButton(key)->setEnabled(true);
        w.cmdBar_ButtonClick(w.commandButton(key));
    }
    EXPECT_EQ(w.calls, QStringList({"setup", "print", "setup", "print", "print", "preview", "preview"}));
    EXPECT_EQ(w.orientationAtPrint, QPageLayout::Landscape);
    EXPECT_TRUE(readBytes(w.pdf).startsWith("%PDF"));
}

TEST_F(CommandBar, SaveRecipeCopiesOnlyTheRecipesOwnPictureAndAsksBeforeReplacingAFile)
{
    const QString cookbook = makeCookbook();
    writeBytes(program.path("secret.txt"), "SECRET");
    writeBytes(program.path("templates/save.html"),
               "<html><head><title>%title%</title></head><body>\xe9t\xe9<!--PICSTART--><img src=\"%picture%\">"
               "<!--PICEND--><img src='http://example.com/x.png'>%instructions%</body></html>");
    auto w = openWindow(cookbook);
    basMain::sTemplatePath = program.path("templates/save.html");
    // Recipe text goes into the page as it stands, so an imported recipe may name any file.
    const QByteArray injected = "<img src=\"" + program.path("secret.txt").toUtf8() + "\">";
    db::Query(basDatabase::cnCookbook,
              "UPDATE RECIPES SET PICTURENAME='pie.jpg', RECIPEPICTURE=?1, INSTRUCTIONS=?2 WHERE TITLE='Mom$$s Pie'",
              {QByteArray("JPEGBYTES"), QString::fromUtf8(injected)})
        .exec();
    const QString id = QString::number(scalar(basDatabase::cnCookbook, "SELECT ID FROM RECIPES WHERE TITLE='Mom$$s Pie'"));
    w->DisplayRecipe("R" + id, false);
    ASSERT_EQ(w->locationName(), "recipe.html");
    const QByteArray page = readBytes(program.page("recipe.html"));

    QDir().mkpath(program.path("saved"));
    recorder.files.enqueue({program.path("saved/pie page.html")});
    w->commandButton("MENU:FILE:SAVE")->trigger();
    ASSERT_EQ(recorder.dialogs.size(), 1);
    EXPECT_EQ(recorder.dialogs[0].kind, ui::FileDialogRequest::Kind::Save);
    EXPECT_TRUE(recorder.dialogs[0].folder.endsWith("/Mom's Pie.html")) << "the page's title names the file";
    QByteArray expected = page;
    expected.replace(program.page("pie.jpg").toUtf8(), "pie.jpg");
    EXPECT_EQ(readBytes(program.path("saved/pie page.html")), expected)
        << "the page keeps its bytes; its picture reference points beside it";
    EXPECT_EQ(readBytes(program.path("saved/pie.jpg")), "JPEGBYTES");
    EXPECT_EQ(QDir(program.path("saved")).entryList(QDir::Files), QStringList({"pie page.html", "pie.jpg"}))
        << "no file the recipe text names is copied";
    EXPECT_TRUE(recorder.boxes.isEmpty());

    // The user's own file of the picture's name: asked first, "No" by default; No writes nothing, and says so.
    QDir().mkpath(program.path("mine"));
    writeBytes(program.path("mine/pie.jpg"), "MY OWN PIE");
    recorder.files.enqueue({program.path("mine/pie.html")});
    recorder.answers.enqueue(ui::Answer::No);
    w->commandButton("MENU:FILE:SAVE")->trigger();
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(recorder.boxes[0].defaultButton, ui::DefaultButton::Second);
    EXPECT_TRUE(recorder.boxes[0].text.contains("pie.jpg"));
    EXPECT_EQ(recorder.boxes[1].text, "The recipe was not saved.");
    EXPECT_EQ(readBytes(program.path("mine/pie.jpg")), "MY OWN PIE");
    EXPECT_FALSE(QFile::exists(program.path("mine/pie.html")));

    recorder.files.enqueue({program.path("mine/pie.html")});
    recorder.answers.enqueue(ui::Answer::Yes);
    w->commandButton("MENU:FILE:SAVE")->trigger();
    EXPECT_EQ(readBytes(program.path("mine/pie.jpg")), "JPEGBYTES");
    EXPECT_TRUE(QFile::exists(program.path("mine/pie.html")));

    w->commandButton("MENU:FILE:SAVE")->trigger(); // cancelled
    EXPECT_EQ(QDir(program.path("saved")).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(program.errorLog(), "");
}

TEST_F(CommandBar, LinksOnThePageOpenOutsideAndThePageStays)
{
    frmMain w;
    auto* view = w.findChild<QTextBrowser*>("wbMain");
    EXPECT_FALSE(view->openLinks());
    const QUrl shown = view->source();
    w.wbMain_LinkClick(QUrl("https://example.com/recipes?id=1"));
    w.wbMain_LinkClick(QUrl("mailto:cook@example.com"));
    w.wbMain_LinkClick(QUrl::fromLocalFile(program.path("secret.txt")));
    EXPECT_EQ(recorder.opened, QStringList({"https://example.com/recipes?id=1", "mailto:cook@example.com"}));
    EXPECT_EQ(view->source(), shown);
}
