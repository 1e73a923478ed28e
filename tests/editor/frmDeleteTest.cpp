// The delete dialog: its two forms, deleting the selected or every marked recipe, and its failures.
#include "editor/frmDelete.h"

#include "browser/RecipeListView.h"
#include "browser/frmAbout.h"
#include "core/RecipeListItems.h"
#include "core/DE.h"
#include "exchange/frmAddressBook.h"
#include "support/Keyboard.h"
#include "support/ListRows.h"
#include "support/ScratchProgram.h"
#include "support/StubMainWindow.h"
#include "support/TestQueries.h"
#include "support/UiRecorder.h"

#include <QFrame>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

// A main window that has a recipe list and counts its refreshes.
class ListWindow : public StubMainWindow {
public:
    RecipeList* lstVRecipes() override { return &list; }
    void RefreshViews() override { ++refreshes; }
    void RefreshFavourites() override { ++favouriteRefreshes; }
    RecipeListView list;
    int refreshes = 0;
    int favouriteRefreshes = 0;
};

class DeleteDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.createCookbook("Family");
        for (const char* title : {"Beef Stew", "Carrot Soup", "Mom$$s Pie", "Pancakes"})
            ids << ScratchProgram::addRecipe(title);
        db::Query rows(basDatabase::cnCookbook, "SELECT ID, TITLE, CATEGORY, MARK FROM RECIPES ORDER BY TITLE");
        recipelist::fillRows(&window.list, rows);
    }

    void mark(std::initializer_list<int> which)
    {
        for (int i : which)
            db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=1 WHERE ID=?1", {ids[i]}).exec();
    }
    void select(int i) { window.list.selectRow(i); }
    QStringList stored()
    {
        QStringList out;
        db::Query rows(basDatabase::cnCookbook, "SELECT TITLE FROM RECIPES ORDER BY TITLE");
        while (rows.next())
            out << rows.text("TITLE");
        return out;
    }
    QStringList listed() { return listTitles(&window.list); }

    ScratchProgram program;
    UiRecorder recorder;
    ListWindow window;
    QList<qint64> ids;
};

} // namespace

TEST_F(DeleteDialog, WithoutMarksAsksForTheSelectedRecipeAndDeletesOnlyIt)
{
    select(2);
    frmDelete dlg;
    dlg.Form_Load();
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Delete..");
    EXPECT_EQ(dlg.lblInfo[0]->text(), "Delete recipe Mom's Pie?");
    EXPECT_FALSE(dlg.shpDel->isVisible());

    select(0); // what was selected when the dialog opened is what goes
    dlg.cmdDelete_Click();
    EXPECT_EQ(stored(), QStringList({"Beef Stew", "Carrot Soup", "Pancakes"}));
    EXPECT_EQ(listed(), QStringList({"Beef Stew", "Carrot Soup", "Pancakes"}));
    EXPECT_EQ(window.refreshes, 0) << "one recipe gone: its row goes, the list is not emptied";
    EXPECT_EQ(window.favouriteRefreshes, 1);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

TEST_F(DeleteDialog, WithMarksOffersBothChoices)
{
    mark({0, 1, 3});
    // The selected recipe alone, although it is not marked; the list loses just its item. Then every
    // marked recipe, whichever is selected, with the list left to the refresh.
    const struct {
        int selected, option;
        QStringList stored, listed;
    } steps[] = {
        {2, 1, {"Beef Stew", "Carrot Soup", "Pancakes"}, {"Beef Stew", "Carrot Soup", "Pancakes"}},
        {1, 0, {}, {"Beef Stew", "Carrot Soup", "Pancakes"}},
    };
    for (const auto& step : steps) {
        select(step.selected);
        frmDelete dlg;
        dlg.Form_Load();
        dlg.show();
        EXPECT_EQ(dlg.lblInfo[0]->text(), "There are currently 3 marked recipes in the database, do you want to:");
        EXPECT_TRUE(dlg.optDelete[0]->isVisible() && dlg.optDelete[1]->isVisible());
        EXPECT_TRUE(dlg.optDelete[1]->isChecked());
        dlg.optDelete[step.option]->setChecked(true);
        dlg.cmdDelete_Click();
        EXPECT_EQ(stored(), step.stored) << step.option;
        EXPECT_EQ(listed(), step.listed) << step.option;
        EXPECT_FALSE(dlg.isVisible());
    }
    EXPECT_EQ(window.refreshes, 1);
    EXPECT_EQ(window.favouriteRefreshes, 1);
}

TEST_F(DeleteDialog, CancelChangesNothingAndFavouriteRowsOutliveTheirRecipe)
{
    basDatabase::AddFavourite(ids[1]);
    select(1);
    {
        frmDelete dlg;
        dlg.Form_Load();
        dlg.show();
        dlg.cmdCancel_Click();
        EXPECT_FALSE(dlg.isVisible());
    }
    EXPECT_EQ(stored().size(), 4);
    EXPECT_EQ(listed().size(), 4);
    EXPECT_EQ(window.refreshes, 0);

    frmDelete dlg;
    dlg.Form_Load();
    dlg.cmdDelete_Click();
    EXPECT_EQ(recipeCount(), 3);
    EXPECT_EQ(scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM FAVOURITES"), 1);
}

TEST_F(DeleteDialog, AFailingDeleteIsReportedAndTheDialogStillClosesAndRefreshes)
{
    select(0);
    frmDelete dlg;
    dlg.Form_Load();
    dlg.show();
    basDatabase::cnCookbook.exec("PRAGMA query_only=1");
    dlg.cmdDelete_Click();
    ASSERT_GE(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module frmDelete cmdDelete"));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(window.favouriteRefreshes, 1);
    basDatabase::cnCookbook.exec("PRAGMA query_only=0");
    EXPECT_EQ(recipeCount(), 4);
    EXPECT_EQ(listed().size(), 4) << "the list keeps the recipe that is still stored";

    // The load's failure goes to the command that opened the dialog.
    basDatabase::CloseCookbook();
    frmDelete closed;
    EXPECT_THROW(closed.Form_Load(), AppError);
}

namespace {

// Enter on whichever button has the focus presses that button, in every dialog; Enter elsewhere in the
// delete dialog presses Cancel, never Delete.
// The two options are one stop on the Tab chain, at the checked one; the arrows choose between them.
TEST_F(DeleteDialog, TabReachesTheOptionsAtTheCheckedOne)
{
    using namespace keyboard;
    mark({0});
    select(1);
    frmDelete dlg;
    dlg.Form_Load();
    showActive(dlg);
    ASSERT_EQ(focused(), dlg.cmdCancel);
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), dlg.optDelete[1]);
    press(Qt::Key_Up);
    EXPECT_EQ(focused(), dlg.optDelete[0]);
    EXPECT_TRUE(dlg.optDelete[0]->isChecked());
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), dlg.cmdDelete);
    press(Qt::Key_Backtab);
    EXPECT_EQ(focused(), dlg.optDelete[0]);
    dlg.cmdCancel_Click();
    EXPECT_EQ(stored().size(), 4);
}

TEST_F(DeleteDialog, EnterOnAFocusedButtonPressesThatButton)
{
    using namespace keyboard;
    select(1);
    {
        frmDelete dlg;
        dlg.Form_Load();
        showActive(dlg);
        EXPECT_FALSE(dlg.cmdDelete->isDefault());
        ASSERT_TRUE(tabTo(dlg.cmdDelete));
        press(Qt::Key_Return);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(stored(), (QStringList{"Beef Stew", "Mom$$s Pie", "Pancakes"}));
    }
    {
        frmAbout about;
        showActive(about);
        auto* ok = about.findChild<QPushButton*>("cmdOk");
        ASSERT_TRUE(tabTo(ok));
        press(Qt::Key_Enter);
        EXPECT_FALSE(about.isVisible());
    }
    {
        frmAddressBook book;
        book.bSelecting = true; // as the e-mail dialog opens it: with OK
        book.ListContacts();
        showActive(book);
        ASSERT_TRUE(tabTo(book.txtName));
        type("Ann");
        press(Qt::Key_Return);
        ASSERT_TRUE(tabTo(book.txtAddress));
        type("ann@example.org");
        press(Qt::Key_Return);
        EXPECT_EQ(scalar(DE.cn, "SELECT COUNT(*) FROM CONTACTS"), 0) << "Enter in a box adds nothing";
        ASSERT_TRUE(tabTo(book.cmdAdd));
        press(Qt::Key_Return);
        EXPECT_EQ(scalar(DE.cn, "SELECT COUNT(*) FROM CONTACTS WHERE CONTACTNAME='Ann'"), 1);
        ASSERT_TRUE(tabTo(book.cmdOk));
        press(Qt::Key_Return);
        EXPECT_FALSE(book.isVisible());
    }
}

} // namespace
