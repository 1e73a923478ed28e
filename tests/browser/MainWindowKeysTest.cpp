// The main window from the keyboard: every command has a shortcut, the recipe list and the Cookbook
// Manager follow the arrows and Enter, and the pop-up menus open at the selected row.
#include "BrowserFixture.h"
#include "core/frmCookbook.h"
#include "editor/frmAddRecipe.h"
#include "editor/frmDelete.h"
#include "browser/frmSearch.h"
#include "support/Keyboard.h"
#include "support/ModalAnswer.h"
#include "support/TestQueries.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>

using namespace keyboard;

namespace {

class MainWindowKeys : public BrowserTest {
protected:
    void SetUp() override
    {
        window = openWindow(makeCookbook());
        showActive(*window);
        list = window->lstVRecipes();
    }

    // "List All" chosen in the tree and Enter pressed there; the focus is then on the list.
    void listAll()
    {
        window->tvRecipes()->setFocus();
        window->tvRecipes()->setCurrentItem(child(window->tvRecipes(), "Recipes", "List All"));
        press(Qt::Key_Return);
        ASSERT_EQ(list->count(), 4);
        ASSERT_TRUE(tabTo(list->view()));
    }

    QString pageText() const { return window->findChild<QTextBrowser*>("wbMain")->toPlainText(); }

    // Runs `keys` on the pop-up menu the code under test opens, after noting where it stands.
    static void onPopup(QPoint& shownAt, std::function<void(QMenu*)> keys)
    {
        auto* poll = new QTimer;
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, [poll, &shownAt, keys] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                poll->stop();
                poll->deleteLater();
                shownAt = menu->pos();
                keys(menu);
            }
        });
        poll->start();
    }

    std::unique_ptr<frmMain> window;
    RecipeList* list = nullptr;
};

TEST_F(MainWindowKeys, CommandsHaveShortcutsShownInTheirTooltipsWithoutNewMenuEntries)
{
    const int menuEntries = window->findChild<QMenu*>("MENU:FILE")->actions().size();
    for (const auto& [key, shortcut] : {std::pair{"TOOLBAR:ADDRECIPE", "Ctrl+N"}, std::pair{"TOOLBAR:EDITRECIPE", "Ctrl+E"},
                                        std::pair{"TOOLBAR:DELETERECIPE", "Del"}, std::pair{"TOOLBAR:SEARCH", "Ctrl+F"},
                                        std::pair{"TOOLBAR:EMAIL", "Ctrl+M"}, std::pair{"SUB:IMPORT", "Ctrl+I"},
                                        std::pair{"SUB:EXPORT", "Ctrl+Shift+E"}, std::pair{"TOOLBAR:PRINT", "Ctrl+P"},
                                        std::pair{"MENU:FILE:PRINT", "Ctrl+P"}, std::pair{"TOOLBAR:OPENCOOKBOOK", "Ctrl+O"}}) {
        SCOPED_TRACE(key);
        QAction* button = window->commandButton(key);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->toolTip().endsWith(QString("(%1)").arg(shortcut))) << button->toolTip().toStdString();
    }
    EXPECT_EQ(window->findChild<QMenu*>("MENU:FILE")->actions().size(), menuEntries);

    // With the toolbar hidden, Ctrl+N still adds a recipe and Del deletes the one on display.
    window->commandButton("MENU:VIEW:DISPTOOLBAR")->trigger();
    ASSERT_FALSE(window->findChild<QToolBar*>("cmdBar_1")->isVisible());
    listAll();
    {
        ModalAnswer<frmAddRecipe> editor([](frmAddRecipe& e) { EXPECT_EQ(e.lblInfo[0]->text(), "Add New Recipe"); });
        press(Qt::Key_N, Qt::ControlModifier);
    }
    showActive(*window); // offscreen, nothing gives the window the keyboard back after a modal dialog
    list->view()->setFocus();
    {
        ModalAnswer<frmDelete> confirm([](frmDelete& d) { d.reject(); });
        press(Qt::Key_Delete);
    }
    EXPECT_EQ(recipeCount(), 4);
}

// When a dialog returns, the main window has the keyboard again with the focus where it was: after a
// recipe was added (its message closing with the editor) and after Search was left with Esc, the next
// keys go to the recipe list.
TEST_F(MainWindowKeys, TheMainWindowHasTheKeyboardAgainWhenADialogReturns)
{
    listAll();
    {
        ModalAnswer<frmAddRecipe> editor([](frmAddRecipe& e) {
            e.txtTitle->setText("Toast");
            e.txtIng->setText("2 slices");
            e.cmdAddIng_Click();
            e.cmdOk->setFocus();
            QTest::keyClick(e.cmdOk, Qt::Key_Return);
        });
        press(Qt::Key_N, Qt::ControlModifier);
    }
    ASSERT_EQ(recipeCount(), 5);
    EXPECT_TRUE(recorder.boxes.last().text == "Recipe added successfully.");
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window.get(); }));
    EXPECT_EQ(focused(), list->view());

    {
        ModalAnswer<frmSearch> search([](frmSearch& s) {
            s.txtSearch->setFocus();
            QTest::keyClicks(s.txtSearch, "pie");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        window->menuBar()->setFocus(Qt::MenuBarFocusReason); // as when the command is chosen from the menu
        press(Qt::Key_F, Qt::ControlModifier);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window.get(); }));
    EXPECT_EQ(focused(), list->view());
}

TEST_F(MainWindowKeys, TheListShowsTheRecipeTheArrowsMoveToEnterShowsItAndSpaceMarksIt)
{
    listAll();
    const QString first = listRow(list, 0)->text(0), second = listRow(list, 1)->text(0);
    EXPECT_TRUE(pageText().contains(first)) << "the row Tab made current is shown";
    press(Qt::Key_Down);
    EXPECT_TRUE(pageText().contains(second));
    EXPECT_EQ(selectedListRow(list)->text(0), second) << "Edit and Delete act on the recipe shown";

    window->showBlankPage();
    press(Qt::Key_Return);
    EXPECT_TRUE(pageText().contains(second));

    press(Qt::Key_Space);
    EXPECT_EQ(scalar(basDatabase::cnCookbook, "SELECT MARK FROM RECIPES WHERE ID=?1",
                     {listRow(list, 1)->id()}),
              1);

    // The Cookbook Manager: the arrows choose a cookbook, Enter opens it.
    program.createCookbook("Work");
    basDatabase::CloseCookbook();
    window->hide();
    frmCookbook manager;
    showActive(manager);
    ASSERT_TRUE(tabTo(manager.lstvCookbooks));
    // Tab runs down the buttons as they stand.
    for (const char* caption : {"Open", "Create New", "Edit", "Delete", "Compact", "Refresh", "Close"}) {
        press(Qt::Key_Tab);
        EXPECT_EQ(qobject_cast<QPushButton*>(focused())->text(), caption);
    }
    ASSERT_TRUE(tabTo(manager.lstvCookbooks));
    QListWidget* books = manager.lstvCookbooks;
    ASSERT_EQ(books->count(), 2);
    ASSERT_EQ(books->currentItem(), books->item(0));
    EXPECT_TRUE(books->item(0)->isSelected()) << "the cookbook Tab lands on is the one Open acts on";
    press(Qt::Key_Right);
    ASSERT_EQ(books->currentItem(), books->item(1));
    EXPECT_TRUE(books->item(1)->isSelected());
    const QString chosen = books->item(1)->data(frmCookbook::FileRole).toString();
    press(Qt::Key_Return);
    EXPECT_FALSE(manager.isVisible());
    EXPECT_EQ(basDatabase::sCurrentCookbook, chosen);
}

// Looking a recipe up by typing its title changes no mark: while the type-ahead runs, Space is part of
// the title. Tab into the list shows the row it makes current selected, so Down goes to the second row.
TEST_F(MainWindowKeys, TypingATitleWithBlanksFindsItAndMarksNothing)
{
    ScratchProgram::addRecipe("Raspberry Bread");
    ScratchProgram::addRecipe("Raspberry Pavlova");
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=0");
    window->tvRecipes()->setFocus();
    window->tvRecipes()->setCurrentItem(child(window->tvRecipes(), "Recipes", "List All"));
    press(Qt::Key_Return);
    ASSERT_EQ(list->count(), 6);
    ASSERT_TRUE(tabTo(list->view()));
    ASSERT_TRUE(selectedListRow(list));
    EXPECT_EQ(selectedListRow(list)->index, 0);
    press(Qt::Key_Down);
    EXPECT_EQ(selectedListRow(list)->index, 1);

    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(60000); // however slowly the test types
    type("Raspberry Pav");
    ASSERT_TRUE(selectedListRow(list));
    EXPECT_EQ(selectedListRow(list)->text(0), "Raspberry Pavlova");
    EXPECT_EQ(scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM RECIPES WHERE MARK=1"), 0);

    // Once the typing has ended, Space marks the recipe again.
    QApplication::setKeyboardInputInterval(0);
    press(Qt::Key_Space);
    QApplication::setKeyboardInputInterval(interval);
    EXPECT_EQ(scalar(basDatabase::cnCookbook, "SELECT MARK FROM RECIPES WHERE TITLE='Raspberry Pavlova'"), 1);
}

TEST_F(MainWindowKeys, PopupMenusFromTheKeyboardOpenAtTheSelectedRow)
{
    listAll();
    press(Qt::Key_Down);
    const auto row = listRow(list, currentListRow(list));
    ASSERT_TRUE(row);
    const QPoint rowCorner = list->view()->viewport()->mapToGlobal(row->rect().bottomLeft());
    QCursor::setPos(window->mapToGlobal(QPoint(window->width() - 5, window->height() - 5)));

    // Menu key, then Down, Down and Enter: "Check All" stores every listed recipe's mark.
    QPoint shownAt;
    onPopup(shownAt, [](QMenu* menu) {
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
            QTest::keyClick(menu, key);
    });
    press(Qt::Key_Menu);
    EXPECT_EQ(shownAt, rowCorner);
    EXPECT_EQ(scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM RECIPES WHERE MARK=1"), 4);

    // Shift+F10 on a favourite in the tree opens its menu at that node.
    basDatabase::AddFavourite(row->id());
    window->RefreshFavourites();
    QTreeWidget* tree = window->tvRecipes();
    QTreeWidgetItem* favourite = root(tree, "Favourites")->child(0);
    // The closed menu gives the keyboard back to the window in its own time: as a user clicks on it.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    tree->setFocus();
    tree->setCurrentItem(favourite);
    const QPoint nodeCorner = tree->viewport()->mapToGlobal(tree->visualItemRect(favourite).bottomLeft());
    onPopup(shownAt, [](QMenu* menu) { QTest::keyClick(menu, Qt::Key_Escape); });
    press(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(shownAt, nodeCorner);
    EXPECT_EQ(scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM FAVOURITES"), 1) << "Escape removes nothing";
}

} // namespace
