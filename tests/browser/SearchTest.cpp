// The search dialog and "What can I make with?": which recipes they list, marking what was found, and
// their messages and failures.
#include "BrowserFixture.h"

#include "browser/frmMealMaker.h"
#include "browser/frmSearch.h"
#include "support/TestQueries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class Search : public BrowserTest {
protected:
    void SetUp() override
    {
        const QString cookbook = makeCookbook();
        ASSERT_TRUE(basDatabase::OpenCookbook(cookbook));
        // An apostrophe stored as typed, one stored encoded in the origin, and wildcard characters.
        ScratchProgram::addRecipe("Dad's Cake", "Desserts", "3 eggs\r\nBaker$$s yeast", "Cote d$$Ivoire");
        ScratchProgram::addRecipe("Odd Loaf", "Breads", "axb flour", "");
        basDatabase::CloseCookbook();
        window = openWindow(cookbook);
    }

    QStringList listed() const { return titles(window->lstVRecipes()); }

    std::unique_ptr<frmMain> window;
};

struct SearchCase {
    const char* name;
    QString text;
    QStringList ticked;                 // object names of the field boxes
    QString category, ingredient, origin; // picks; "" for "-Any-"
    bool markedOnly;
    QStringList expected;
};

} // namespace

TEST_F(Search, ListsTheRecipesOfEachFieldAndPickAloneAndTogether)
{
    const SearchCase cases[] = {
        {"title when nothing is ticked", "e", {}, {}, {}, {}, false,
         {"apple Crumble", "Beef Stew", "Dad's Cake", "Mom's Pie"}},
        {"both apostrophe forms", "'s", {}, {}, {}, {}, false, {"Dad's Cake", "Mom's Pie"}},
        {"typed % is a wildcard", "a%e", {}, {}, {}, {}, false, {"apple Crumble", "Dad's Cake"}},
        {"typed _ is a wildcard", "r_o", {"chkRecipeName"}, {}, {}, {}, false, {"Carrot Soup"}},
        {"ingredients", "FLOUR", {"chkIng"}, {}, {}, {}, false, {"Beef Stew", "Mom's Pie", "Odd Loaf"}},
        {"author or instructions", "mix", {"chkAuthor", "chkInstructions"}, {}, {}, {}, false,
         {"apple Crumble", "Beef Stew", "Carrot Soup", "Dad's Cake", "Mom's Pie", "Odd Loaf"}},
        {"category field", "bread", {"chkCat"}, {}, {}, {}, false, {"Odd Loaf"}},
        {"category pick: list begins with it", "zzz", {}, "Main Dish", {}, {}, false, {"Beef Stew"}},
        {"ingredient pick widens the text hits", "Stew", {}, {}, "Butter", {}, false,
         {"apple Crumble", "Beef Stew", "Carrot Soup"}},
        {"ingredient pick matches literally", "zzz", {}, {}, "a_b", {}, false, {}},
        {"ingredient pick with an apostrophe", "zzz", {}, {}, "Baker's yeast", {}, false, {"Dad's Cake"}},
        {"origin pick equals the name", "zzz", {}, {}, {}, "france", false, {"apple Crumble", "Carrot Soup"}},
        {"origin pick with an apostrophe", "zzz", {}, {}, {}, "Cote d'Ivoire", false, {"Dad's Cake"}},
        {"all picks together", "zzz", {}, "Soups", "Sugar", "Italy", false,
         {"apple Crumble", "Beef Stew", "Carrot Soup", "Mom's Pie"}},
        {"checked only holds for every clause", "o", {"chkRecipeName", "chkCat"}, {}, {}, {}, true, {"Carrot Soup"}},
        {"checked only with a pick", "zzz", {}, "Desserts", {}, {}, true, {}},
        {"text is never SQL", "x'; DELETE FROM RECIPES; --", {}, {}, {}, {}, false, {}},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.boxes.clear();
        frmSearch dlg(window.get());
        dlg.Form_Load();
        dlg.txtSearch->setText(c.text);
        for (const QString& box : c.ticked)
            dlg.findChild<QCheckBox*>(box)->setChecked(true);
        const std::pair<QComboBox*, QString> picks[] = {
            {dlg.cmbCat, c.category}, {dlg.cmbIngredients, c.ingredient}, {dlg.cmbOrigin, c.origin}};
        for (const auto& [box, pick] : picks)
            if (!pick.isEmpty()) {
                box->addItem(pick); // the tree's names, or one that no tree holds
                box->setCurrentText(pick);
            }
        dlg.chkSearchMark->setChecked(c.markedOnly);
        dlg.cmdSearch_Click();

        EXPECT_EQ(listed(), c.expected);
        if (c.expected.isEmpty()) {
            ASSERT_EQ(recorder.boxes.size(), 1);
            EXPECT_EQ(recorder.boxes[0].text, "No recipes found for current search criteria");
            EXPECT_EQ(recorder.boxes[0].title, "Search..");
        } else {
            EXPECT_TRUE(recorder.boxes.isEmpty()) << recorder.boxes.value(0).text.toStdString();
            EXPECT_EQ(window->statusText(), QString("Found %1 for entered search criteria").arg(c.expected.size()));
        }
    }
    EXPECT_EQ(recipeCount(), 6);
    EXPECT_EQ(program.errorLog(), "");
}

TEST_F(Search, PickListsComeFromTheTreeAndEveryFillKeepsTheListForm)
{
    frmSearch dlg(window.get());
    dlg.Form_Load();
    auto entries = [](QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    };
    EXPECT_EQ(entries(dlg.cmbCat), QStringList({"-Any-", "Desserts", "Main Dish", "Soups"}));
    EXPECT_EQ(entries(dlg.cmbIngredients), QStringList({"-Any-", "Butter", "Flour", "Sugar"}));
    EXPECT_EQ(entries(dlg.cmbOrigin), QStringList({"-Any-", "Cote d'Ivoire", "France", "Italy"}));
    EXPECT_EQ(dlg.cmbOrigin->currentText(), "-Any-");

    dlg.txtSearch->setText("o");
    dlg.cmdSearch_Click();
    RecipeList* list = window->lstVRecipes();
    ASSERT_EQ(listed(), QStringList({"Carrot Soup", "Mom's Pie", "Odd Loaf"}));
    auto soup = listRow(list, 0);
    EXPECT_EQ(soup->text(1), "Soups");
    EXPECT_EQ(soup->checkState(0), Qt::Checked);
    EXPECT_EQ(listRow(list, 1)->text(1), "Desserts,Main Dish");
    EXPECT_EQ(listRow(list, 1)->checkState(0), Qt::Unchecked);
    EXPECT_TRUE(soup->key().startsWith("R"));
    EXPECT_EQ(list->view()->model()->headerData(0, Qt::Horizontal).toString(), "Title");
    EXPECT_EQ(list->view()->model()->headerData(1, Qt::Horizontal).toString(), "Categories");

    // With no cookbook open the tree is empty: only "-Any-".
    basDatabase::CloseCookbook();
    frmSearch empty(window.get());
    empty.Form_Load();
    EXPECT_EQ(entries(empty.cmbCat), QStringList{"-Any-"});
}

TEST_F(Search, CheckFoundRecipesMarksExactlyWhatWasListed)
{
    frmSearch dlg(window.get());
    dlg.Form_Load();
    dlg.txtSearch->setText("'");
    dlg.cmbOrigin->setCurrentText("Italy");
    dlg.chkMark->setChecked(true);
    dlg.cmdSearch_Click();

    ASSERT_EQ(listed(), QStringList({"Beef Stew", "Dad's Cake", "Mom's Pie"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(listRow(window->lstVRecipes(), i)->checkState(0), Qt::Checked);
    for (const char* title : {"Beef Stew", "Dad's Cake", "Mom$$s Pie", "Carrot Soup"})
        EXPECT_EQ(markOf(title), 1) << title;
    for (const char* title : {"apple Crumble", "Odd Loaf"})
        EXPECT_EQ(markOf(title), 0) << title;
}

TEST_F(Search, MessagesAndFailures)
{
    frmSearch dlg(window.get());
    dlg.Form_Load();
    window->setStatusText("before");

    dlg.cmdSearch_Click(); // nothing typed
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "Please enter something to search for");
    EXPECT_EQ(recorder.boxes[0].title, "Oops..");
    EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Information);

    // Nothing found: the list is emptied and the status text says so.
    dlg.txtSearch->setText("Stew");
    dlg.cmdSearch_Click();
    ASSERT_EQ(listed().size(), 1);
    window->setStatusText("before");
    dlg.txtSearch->setText("nothing like this");
    dlg.cmdSearch_Click();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(window->statusText(), "Found 0 for entered search criteria");

    // No cookbook: reported under the dialog's routine name, and the dialog stays usable.
    basDatabase::CloseCookbook();
    recorder.boxes.clear();
    dlg.cmdSearch_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module CmdSearch"));
    EXPECT_TRUE(dlg.cmdSearch->isEnabled());
}

TEST_F(Search, WhatCanIMakeWithListsRecipesHoldingEveryPiece)
{
    const struct {
        QString text;
        QStringList expected;
    } cases[] = {
        {"flour", {"Beef Stew", "Mom's Pie", "Odd Loaf"}},
        {"Flour,sugar", {"Mom's Pie"}},
        {"flour,sugar,", {"Mom's Pie"}},           // an empty piece matches every recipe
        {"sugar, butter", {"apple Crumble"}},      // the blank belongs to the piece
        {"baker's", {"Dad's Cake"}},               // stored as "Baker$$s"
        {"eggs,yeast", {"Dad's Cake"}},            // on different lines
    };
    frmMealMaker dlg(window.get());
    for (const auto& c : cases) {
        dlg.txtSearch->setText(c.text);
        dlg.cmdOption_Click(0);
        EXPECT_EQ(listed(), c.expected) << c.text.toStdString();
        EXPECT_EQ(window->statusText(), QString("Found %1 for entered search criteria").arg(c.expected.size()));
    }
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_EQ(listRow(window->lstVRecipes(), 0)->text(1), "Desserts");

    // Nothing found, or nothing typed: the previous list stays.
    dlg.txtSearch->setText("butter, sugar");
    dlg.cmdOption_Click(0);
    dlg.txtSearch->clear();
    dlg.cmdOption_Click(0);
    EXPECT_EQ(listed(), QStringList{"Dad's Cake"});
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[0].text, "No recipes found for the search criteria");
    EXPECT_EQ(recorder.boxes[0].title, "Search Finished");
    EXPECT_EQ(recorder.boxes[1].text, "Nothing to search for?");
    EXPECT_EQ(recorder.boxes[1].icon, ui::Icon::Exclamation);

    basDatabase::CloseCookbook();
    dlg.txtSearch->setText("flour");
    dlg.cmdOption_Click(0);
    ASSERT_EQ(recorder.boxes.size(), 3);
    EXPECT_TRUE(recorder.boxes[2].text.endsWith("occurred in module FindRecipes"));
}

TEST_F(Search, TheCommandsOpenTheDialogsModally)
{
    for (const char* key : {"TOOLBAR:SEARCH", "TOOLBAR:MEALMAKER"}) {
        QString opened;
        int pickEntries = 0;
        whenModalOpens([&](QWidget* dialog) {
            opened = dialog->objectName();
            if (auto* search = qobject_cast<frmSearch*>(dialog))
                pickEntries = search->cmbCat->count();
            dialog->close();
        });
        window->commandButton(key)->trigger();
        EXPECT_EQ(opened, QString(key) == "TOOLBAR:SEARCH" ? "frmSearch" : "frmMealMaker");
        if (opened == "frmSearch")
            EXPECT_EQ(pickEntries, 4) << "loaded from the tree before it shows";
    }
}
