// The letter filter on the main window's recipe list, and the shared pieces of every list fill.
#include "support/ListRows.h"
#include "support/ScratchProgram.h"
#include "support/StubMainWindow.h"

#include "browser/RecipeListView.h"
#include "core/MainWindow.h"
#include "core/NumberText.h"
#include "core/RecipeListFiller.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"

#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// The parts of a main window the filler works on: a tree, a list and the status text.
class ListWindow final : public StubMainWindow {
public:
    QWidget frame;
    QTreeWidget tree{&frame};
    RecipeListView list{&frame};
    QString status = "untouched";

    QWidget* widget() override { return &frame; }
    QTreeWidget* tvRecipes() override { return &tree; }
    RecipeList* lstVRecipes() override { return &list; }
    void setStatusText(const QString& text) override { status = text; }
    QString statusText() const override { return status; }

    QTreeWidgetItem* node(const QString& rootText, const QString& text, const QString& tag = {})
    {
        QTreeWidgetItem* root = nullptr;
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            if (tree.topLevelItem(i)->text(0) == rootText)
                root = tree.topLevelItem(i);
        if (!root)
            root = new QTreeWidgetItem(&tree, {rootText});
        auto* child = new QTreeWidgetItem(root, {text});
        child->setData(0, ItemTagRole, tag);
        return child;
    }

    QStringList titles() { return listTitles(&list); }
};

class LetterFilter : public ::testing::Test {
protected:
    ScratchProgram program;
    ListWindow window;
    QTreeWidgetItem* all = nullptr;

    void SetUp() override
    {
        program.createCookbook("Filter");
        ScratchProgram::addRecipe("Apple Pie", "Desserts", "Apples, Flour", "France");
        ScratchProgram::addRecipe("almond Tart", "Desserts", "Almonds", "Cote d$$Ivoire");
        ScratchProgram::addRecipe("Beef Stew", "Main Dish", "Beef", "Italy");
        ScratchProgram::addRecipe("Mom$$s Meatloaf", "Main Dish", "Beef, Bread", "Cote d'Ivoire");
        ScratchProgram::addRecipe("Avocado Salad", "Salads", "Avocado", "France");
        basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=1 WHERE TITLE='Beef Stew'");
        window.node("Categories (3)", "Desserts");
        window.node("Ingredients (3)", "Beef");
        window.node("Country (3)", "Cote d'Ivoire");
        all = window.node("Recipes", "List All");
        window.tree.setCurrentItem(all);
    }
};

} // namespace

TEST_F(LetterFilter, DisplayAllListsEveryRecipeOfTheNodeWithTheStatusText)
{
    FilterRecipeList("Display all");
    EXPECT_EQ(window.titles(),
              QStringList({"almond Tart", "Apple Pie", "Avocado Salad", "Beef Stew", "Mom's Meatloaf"}));
    EXPECT_EQ(window.status, "Found 5 recipes for List All listing (Display all)");
}

TEST_F(LetterFilter, TitlesBeginningWithTheTextWhateverTheirLetterCase)
{
    struct Case {
        const char* filter;
        QStringList titles;
    } const cases[] = {
        {"a", {"almond Tart", "Apple Pie", "Avocado Salad"}},
        {"A", {"almond Tart", "Apple Pie", "Avocado Salad"}},
        {"mom'", {"Mom's Meatloaf"}},   // a typed apostrophe matches the stored "$$"
        {"q", {}},
        {"", {}},                      // an empty filter matches no title
    };
    for (const Case& c : cases) {
        FilterRecipeList(c.filter);
        EXPECT_EQ(window.titles(), c.titles) << c.filter;
        EXPECT_EQ(window.status, QString("Found %1 recipes for List All listing (%2)").arg(c.titles.size()).arg(c.filter));
    }
}

TEST_F(LetterFilter, NarrowsTheBranchOfTheSelectedNode)
{
    struct Case {
        const char* root;
        const char* node;
        const char* filter;
        QStringList titles;
    } const cases[] = {
        {"Categories (3)", "Desserts", "a", {"almond Tart", "Apple Pie"}},
        {"Ingredients (3)", "Beef", "Display all", {"Beef Stew", "Mom's Meatloaf"}},
        {"Ingredients (3)", "Beef", "m", {"Mom's Meatloaf"}},
        // A country with an apostrophe finds rows stored with "$$" and with "'".
        {"Country (3)", "Cote d'Ivoire", "Display all", {"almond Tart", "Mom's Meatloaf"}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < window.tree.topLevelItemCount(); ++i)
            if (window.tree.topLevelItem(i)->text(0) == c.root)
                window.tree.setCurrentItem(window.tree.topLevelItem(i)->child(0));
        FilterRecipeList(c.filter);
        EXPECT_EQ(window.titles(), c.titles) << c.node << " " << c.filter;
        EXPECT_EQ(window.status, QString("Found %1 recipes for %2 listing (%3)").arg(c.titles.size()).arg(c.node, c.filter));
    }
}

TEST_F(LetterFilter, WildcardsInABrowseNameMatchOnlyThemselves)
{
    ScratchProgram::addRecipe("Sale Cake", "50%_Off", "Flour\\Sugar");
    ScratchProgram::addRecipe("Bulk Buns", "500 Off", "Flour Sugar");
    const struct {
        const char* root;
        const char* node;
        QStringList titles;
    } cases[] = {
        {"Categories (3)", "50%_Off", {"Sale Cake"}},
        {"Ingredients (3)", "Flour\\Sugar", {"Sale Cake"}},
        {"Ingredients (3)", "_", {}},
    };
    for (const auto& c : cases) {
        window.tree.setCurrentItem(window.node(c.root, c.node));
        FilterRecipeList("Display all");
        EXPECT_EQ(window.titles(), c.titles) << c.node;
    }
}

TEST_F(LetterFilter, ItemsCarryKeyCategoriesAndMark)
{
    FilterRecipeList("b");
    ASSERT_EQ(window.list.count(), 1);
    const auto stew = listRow(&window.list, 0);
    EXPECT_EQ(stew->key(), "R3");
    EXPECT_EQ(stew->text(1), "Main Dish");
    EXPECT_EQ(stew->checkState(0), Qt::Checked);
}

TEST_F(LetterFilter, ARootOrNoSelectionChangesNothing)
{
    FilterRecipeList("Display all");
    window.status = "before";
    window.tree.setCurrentItem(all->parent());
    FilterRecipeList("b");
    window.tree.clearSelection();
    FilterRecipeList("b");
    EXPECT_EQ(window.list.count(), 5);
    EXPECT_EQ(window.status, "before");
}

TEST_F(LetterFilter, AFavouriteListsItsRecipeWhenTheTitleMatches)
{
    basDatabase::AddFavourite(3);
    db::Query fav(basDatabase::cnCookbook, "SELECT ID FROM FAVOURITES WHERE RECIPEID=3");
    ASSERT_TRUE(fav.next());
    window.tree.setCurrentItem(window.node("Favourites", "Beef Stew", fav.value("ID").toString()));

    FilterRecipeList("b");
    EXPECT_EQ(window.titles(), QStringList({"Beef Stew"}));
    EXPECT_EQ(window.status, "Found 1 recipes for Beef Stew listing (b)");
    FilterRecipeList("a");
    EXPECT_EQ(window.titles(), QStringList());
    EXPECT_EQ(window.status, "Found 0 recipes for Beef Stew listing (a)");
}

TEST_F(LetterFilter, AFailingQueryGoesToTheCaller)
{
    basDatabase::cnCookbook.close();
    EXPECT_THROW(FilterRecipeList("a"), AppError);
}

TEST(NumberText, LeadingNumbersAndWholeNumbers)
{
    EXPECT_EQ(leadingNumber("1300"), 1300);
    EXPECT_EQ(leadingNumber("  2500.5twips"), 2500.5);
    EXPECT_EQ(leadingNumber("-40"), -40);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(toNumber(" 7200 "), 7200);
    EXPECT_FALSE(toNumber("72o0"));
    EXPECT_FALSE(toNumber(""));
    EXPECT_FALSE(toNumber("inf"));
}

// A long fill lets the window repaint while it reads the rows (it takes no input meanwhile), and its items hold
// no text beyond what the list shows: the key is made from the stored ID when asked for.
TEST_F(LetterFilter, ALongFillLetsTheWindowRepaintWhileItReads)
{
    const qint64 previous = recipelist::setFillBatchInterval(0);
    QList<int> listedAtTicks;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { listedAtTicks << window.list.count(); });
    ticker.start(0);
    FilterRecipeList("Display all");
    ticker.stop();
    recipelist::setFillBatchInterval(previous);

    ASSERT_EQ(window.list.count(), 5);
    ASSERT_FALSE(listedAtTicks.isEmpty()) << "the event loop ran during the fill";
    EXPECT_EQ(listedAtTicks.first(), 0) << "it ran while the rows were read, before the items went in at once";
    const auto stew = listRow(&window.list, "Beef Stew");
    ASSERT_TRUE(stew);
    EXPECT_EQ(stew->key(), "R3");
    EXPECT_EQ(window.list.model()->index(stew->index, 0).data(ItemKeyRole).typeId(), QMetaType::LongLong);
}
