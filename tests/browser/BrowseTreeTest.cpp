// The browse tree, the list fills by node, the marks and the letter buttons.
#include "BrowserFixture.h"

#include "core/DE.h"
#include "core/basMain.h"
#include "editor/frmDelete.h"
#include "support/SecondProcess.h"
#include "support/TestQueries.h"

#include <QKeyEvent>
#include <QRadioButton>
#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <sqlite3.h>

namespace {

QStringList childTexts(QTreeWidgetItem* root)
{
    QStringList out;
    for (int i = 0; root && i < root->childCount(); ++i)
        out << root->child(i)->text(0);
    return out;
}

QString banner(frmMain& w) { return w.findChild<QLabel*>("lblDisplay")->text(); }

} // namespace

using BrowseTree = BrowserTest;

TEST_F(BrowseTree, HasFiveRootsWithCountsAndChildrenInNameOrderIgnoringCase)
{
    DE.cn.exec("INSERT INTO CATEGORY (CATEGORY) VALUES ('breads')");
    const QString cookbook = makeCookbook();
    auto w = openWindow(cookbook);
    QTreeWidget* tree = w->tvRecipes();

    QStringList roots, keys;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        roots << tree->topLevelItem(i)->text(0);
        keys << recipelist::itemKey(tree->topLevelItem(i));
        EXPECT_TRUE(tree->topLevelItem(i)->font(0).bold());
        EXPECT_FALSE(tree->topLevelItem(i)->isExpanded()) << "roots start collapsed";
    }
    EXPECT_EQ(roots, QStringList({"Categories (4)", "Ingredients (3)", "Country (3)", "Recipes", "Favourites"}));
    EXPECT_EQ(keys, QStringList({"Categories", "Ingredients", "Country", "Recipes", "Favourites"}));

    EXPECT_EQ(childTexts(root(tree, "Categories")), QStringList({"breads", "Desserts", "Main Dish", "Soups"}));
    EXPECT_EQ(childTexts(root(tree, "Country")), QStringList({"Cote d'Ivoire", "France", "Italy"}));
    EXPECT_EQ(childTexts(root(tree, "Recipes")), QStringList({"List All"}));
    EXPECT_EQ(recipelist::itemKey(child(tree, "Recipes", "List All")), "RECIPES1");

    db::Query desserts(DE.cn, "SELECT ID FROM CATEGORY WHERE CATEGORY='Desserts'");
    ASSERT_TRUE(desserts.next());
    EXPECT_EQ(recipelist::itemKey(child(tree, "Categories", "Desserts")), "A" + desserts.value("ID").toString());
    EXPECT_TRUE(recipelist::itemKey(child(tree, "Ingredients", "Flour")).startsWith("I"));
    EXPECT_TRUE(recipelist::itemKey(child(tree, "Country", "Italy")).startsWith("C"));
}

TEST_F(BrowseTree, FavouritesShowTheirRecipesTitlesAndDropDeletedRecipes)
{
    const QString cookbook = makeCookbook();
    ASSERT_TRUE(basDatabase::OpenCookbook(cookbook));
    {
        db::Query pie(basDatabase::cnCookbook, "SELECT ID FROM RECIPES WHERE TITLE='Mom$$s Pie'");
        ASSERT_TRUE(pie.next());
        basDatabase::AddFavourite(pie.value("ID").toLongLong());
    }
    basDatabase::cnCookbook.exec("INSERT INTO FAVOURITES (RECIPEID) VALUES (999)"); // a deleted recipe
    basDatabase::CloseCookbook();

    auto w = openWindow(cookbook);
    QTreeWidgetItem* favourites = root(w->tvRecipes(), "Favourites");
    ASSERT_EQ(childTexts(favourites), QStringList({"Mom's Pie"}));
    QTreeWidgetItem* node = favourites->child(0);
    EXPECT_EQ(recipelist::itemKey(node), "F" + recipelist::itemTag(node));
    EXPECT_FALSE(recipelist::itemTag(node).isEmpty());

    // Rebuilding the branch alone keeps it last and opens it.
    basDatabase::AddFavourite(1);
    w->RefreshFavourites();
    favourites = root(w->tvRecipes(), "Favourites");
    EXPECT_EQ(w->tvRecipes()->indexOfTopLevelItem(favourites), 4);
    EXPECT_EQ(childTexts(favourites), QStringList({"Mom's Pie", "Beef Stew"}));
    EXPECT_TRUE(favourites->isExpanded());
}

TEST_F(BrowseTree, WithNoCookbookTheViewsStayEmptyAndNothingIsReported)
{
    frmMain w;
    w.RefreshViews();
    w.RefreshFavourites();
    EXPECT_EQ(w.tvRecipes()->topLevelItemCount(), 0);
    EXPECT_EQ(w.lstVRecipes()->count(), 0);
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_EQ(program.errorLog(), "");
}

TEST_F(BrowseTree, EachBranchFillsTheListWithItsBannerAndStatus)
{
    const QString cookbook = makeCookbook();
    ASSERT_TRUE(basDatabase::OpenCookbook(cookbook));
    basDatabase::AddFavourite(3);
    basDatabase::CloseCookbook();
    auto w = openWindow(cookbook);

    struct Row {
        const char* root;
        const char* node;
        QStringList titles;
        QString banner;
        QString status;
    };
    const Row rows[] = {
        {"Country", "France", {"apple Crumble", "Carrot Soup"}, "Browsing by Country of Origin : France",
         "Found 2 recipes for France"},
        {"Ingredients", "Flour", {"Beef Stew", "Mom's Pie"}, "Browsing by Ingredients : Flour",
         "Found 2 recipes for Flour"},
        {"Categories", "Desserts", {"apple Crumble", "Mom's Pie"}, "Browsing by Category : Desserts",
         "Found 2 recipes for Desserts"},
        {"Recipes", "List All", {"apple Crumble", "Beef Stew", "Carrot Soup", "Mom's Pie"}, "Browsing by All Recipes",
         "Found 4 recipes for List All"},
        {"Favourites", "Carrot Soup", {"Carrot Soup"}, "Browsing by Favourites", ""},
        {"Country", "Cote d'Ivoire", {}, "Browsing by Country of Origin : Cote d'Ivoire",
         "Found 0 recipes for Cote d'Ivoire"},
    };
    for (const Row& row : rows) {
        w->setStatusText("before");
        QTreeWidgetItem* node = child(w->tvRecipes(), row.root, row.node);
        ASSERT_NE(node, nullptr) << row.node;
        w->tvRecipes()->setCurrentItem(node);
        w->tvRecipes_DblClick();
        EXPECT_EQ(titles(w->lstVRecipes()), row.titles) << row.node;
        EXPECT_EQ(banner(*w), row.banner);
        EXPECT_EQ(w->statusText(), row.status);
    }

    // Rows carry key, categories and the mark.
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    RecipeList* list = w->lstVRecipes();
    EXPECT_EQ(list->view()->model()->headerData(0, Qt::Horizontal).toString(), "Title");
    EXPECT_EQ(list->view()->model()->headerData(1, Qt::Horizontal).toString(), "Categories");
    auto soup = listItem(list, "Carrot Soup");
    EXPECT_EQ(soup->key(), "R3");
    EXPECT_EQ(soup->text(1), "Soups");
    EXPECT_EQ(soup->checkState(0), Qt::Checked);
    EXPECT_EQ(listItem(list, "Beef Stew")->checkState(0), Qt::Unchecked);
    EXPECT_EQ(program.errorLog(), "");
}

TEST_F(BrowseTree, ANameWithAnApostropheFindsRecipesStoredEitherWay)
{
    const QString cookbook = program.createCookbook("Family");
    ScratchProgram::addRecipe("Fufu", "Soups", "Yam", "Cote d$$Ivoire");
    ScratchProgram::addRecipe("Attieke", "Main Dish", "Cassava", "Cote d'Ivoire");
    ScratchProgram::addRecipe("Crepes", "Desserts", "Flour", "France");
    basDatabase::CloseCookbook();
    auto w = openWindow(cookbook);
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Country", "Cote d'Ivoire"));
    w->tvRecipes_DblClick();
    EXPECT_EQ(titles(w->lstVRecipes()), QStringList({"Attieke", "Fufu"}));
}

TEST_F(BrowseTree, ARootOrNothingSelectedLeavesTheList)
{
    auto w = openWindow(makeCookbook());
    w->tvRecipes_DblClick(); // nothing selected
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    w->findChild<QTextBrowser*>("wbMain")->setSource(QUrl::fromLocalFile(program.path("help/index.html")));

    w->tvRecipes()->setCurrentItem(root(w->tvRecipes(), "Categories"));
    w->tvRecipes_DblClick();
    EXPECT_EQ(w->lstVRecipes()->count(), 4);
    EXPECT_EQ(w->statusText(), "") << "the status text is still cleared";
    EXPECT_EQ(w->locationName(), "blank.html");
}

TEST_F(BrowseTree, EnterOnANodeFillsTheListAsADoubleClickDoesWhenPressedThere)
{
    auto w = openWindow(makeCookbook());
    QTreeWidget* tree = w->tvRecipes();
    tree->setCurrentItem(child(tree, "Categories", "Soups"));
    auto send = [&](QEvent::Type type, int key) {
        QKeyEvent event(type, key, Qt::NoModifier);
        QApplication::sendEvent(tree, &event);
    };
    send(QEvent::KeyPress, Qt::Key_F5);
    send(QEvent::KeyRelease, Qt::Key_F5);
    EXPECT_EQ(w->lstVRecipes()->count(), 0);

    // Enter that closed a dialog: only its release reaches the tree.
    send(QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_EQ(w->lstVRecipes()->count(), 0);

    send(QEvent::KeyPress, Qt::Key_Return);
    send(QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_EQ(titles(w->lstVRecipes()), QStringList({"Carrot Soup"}));
}

TEST_F(BrowseTree, TickingARecipeStoresItsMarkAndFillingWritesNone)
{
    const QString cookbook = makeCookbook();
    auto w = openWindow(cookbook);
    sqlite3* handle = basDatabase::cnCookbook.handle();
    const int writesBefore = sqlite3_total_changes(handle);
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    EXPECT_EQ(sqlite3_total_changes(handle), writesBefore) << "a fill writes no mark";

    auto stew = listItem(w->lstVRecipes(), "Beef Stew");
    stew->setCheckState(0, Qt::Checked); // as the user's click does
    EXPECT_EQ(markOf("Beef Stew"), 1);
    listItem(w->lstVRecipes(), "Carrot Soup")->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(markOf("Carrot Soup"), 0);

    // Read back through a fresh fill.
    w->tvRecipes_DblClick();
    EXPECT_EQ(listItem(w->lstVRecipes(), "Beef Stew")->checkState(0), Qt::Checked);
    EXPECT_EQ(listItem(w->lstVRecipes(), "Carrot Soup")->checkState(0), Qt::Unchecked);

    // Anything else offered to a row (a new title, categories, other data) changes nothing and writes no mark.
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=0 WHERE TITLE='Beef Stew'");
    const int writesNow = sqlite3_total_changes(handle);
    const auto item = listItem(w->lstVRecipes(), "Beef Stew");
    QAbstractItemModel* model = w->lstVRecipes()->view()->model();
    EXPECT_FALSE(model->setData(model->index(item->index, 0), "Beef Stew renamed", Qt::EditRole));
    EXPECT_FALSE(model->setData(model->index(item->index, 1), "Soups", Qt::EditRole));
    EXPECT_FALSE(model->setData(model->index(item->index, 0), 1, Qt::UserRole + 7));
    EXPECT_EQ(item->text(0), "Beef Stew");
    EXPECT_EQ(sqlite3_total_changes(handle), writesNow);
    EXPECT_EQ(markOf("Beef Stew"), 0);
}

TEST_F(BrowseTree, AMarkThatCannotBeStoredIsPutBackAndReported)
{
    auto w = openWindow(makeCookbook());
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    basDatabase::cnCookbook.close();
    auto stew = listItem(w->lstVRecipes(), "Beef Stew");
    stew->setCheckState(0, Qt::Checked);
    EXPECT_EQ(stew->checkState(0), Qt::Unchecked);
    EXPECT_TRUE(program.errorLog().contains("occurred in module lstVRecipes ItemCheck"));
    EXPECT_EQ(markOf("Beef Stew"), 0);
}

TEST_F(BrowseTree, AFailingFillIsReported)
{
    auto w = openWindow(makeCookbook());
    basDatabase::cnCookbook.close();
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    EXPECT_TRUE(program.errorLog().endsWith("occurred in module tvRecipes DblClick\r\n"));
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry Error");
}

TEST_F(BrowseTree, ARightClickSelectsWhatIsUnderThePointerOnly)
{
    auto w = openWindow(makeCookbook());
    w->resize(900, 600);
    w->show();
    QTimer closeMenus; // the pop-up menus the right-clicks raise are closed unchosen
    QObject::connect(&closeMenus, &QTimer::timeout, [] {
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    });
    closeMenus.start(10);
    QTreeWidget* tree = w->tvRecipes();
    QTreeWidgetItem* recipes = root(tree, "Recipes");
    w->tvRecipes_MouseUp(Qt::RightButton, tree->visualItemRect(recipes).center());
    EXPECT_EQ(recipelist::selectedItem(tree), recipes);
    w->tvRecipes_MouseUp(Qt::RightButton, QPoint(5, tree->viewport()->height() - 5));
    EXPECT_EQ(recipelist::selectedItem(tree), recipes) << "nothing under the pointer: nothing changes";

    recipes->setExpanded(true);
    tree->setCurrentItem(child(tree, "Recipes", "List All"));
    w->tvRecipes_DblClick();
    RecipeList* list = w->lstVRecipes();
    const auto second = listRow(list, 1);
    w->lstVRecipes_MouseUp(Qt::RightButton, second->rect().center());
    EXPECT_EQ(selectedListRow(list), second);
    w->lstVRecipes_MouseUp(Qt::RightButton, QPoint(5, list->view()->viewport()->height() - 5));
    EXPECT_EQ(selectedListRow(list), second);
}

TEST_F(BrowseTree, LetterButtonsFilterTheListOfTheSelectedNode)
{
    auto w = openWindow(makeCookbook());
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    w->cmdList_Click(3); // "C"
    EXPECT_EQ(titles(w->lstVRecipes()), QStringList({"Carrot Soup"}));
    EXPECT_EQ(w->statusText(), "Found 1 recipes for List All listing (c)");
    w->cmdList_Click(0);
    EXPECT_EQ(w->statusText(), "Found 4 recipes for List All listing (Display all)");

    // The columns fit their contents after a filter, as after every fill.
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET TITLE='Beef Stew slowly braised in red wine with "
                                 "thyme, bay leaves and a great many shallots' WHERE TITLE='Beef Stew'");
    RecipeList* list = w->lstVRecipes();
    auto* view = qobject_cast<QTreeView*>(list->view());
    view->setColumnWidth(0, 40);
    w->cmdList_Click(2); // "B"
    ASSERT_EQ(list->count(), 1);
    EXPECT_GT(view->columnWidth(0), view->fontMetrics().horizontalAdvance(listRow(list, 0)->text(0)));
}

TEST_F(BrowseTree, AClickOnARecipeShowsItsPageOrTheBlankPage)
{
    auto w = openWindow(makeCookbook());
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    w->findChild<QTextBrowser*>("wbMain")->setSource(QUrl::fromLocalFile(program.path("help/index.html")));
    listRow(w->lstVRecipes(), 0)->select();
    w->lstVRecipes_Click();
    const bool written = QFile::exists(program.page("recipe.html"));
    EXPECT_EQ(w->locationName(), written ? "recipe.html" : "blank.html");
}

// Whatever empties, narrows or shortens the list takes the banner, the count and the page with it.
TEST_F(BrowseTree, TheBannerCountAndPageFollowTheList)
{
    const auto w = openWindow(makeCookbook());
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    RecipeList* list = w->lstVRecipes();
    const auto pageShows = [&] { return w->findChild<QTextBrowser*>("wbMain")->toPlainText(); };

    // A letter filter that keeps the recipe on display keeps its page and its row selected; one that
    // drops it leaves the blank page, under the same banner.
    listItem(list, "Beef Stew")->select();
    ASSERT_TRUE(pageShows().contains("Beef Stew"));
    w->cmdList_Click(2); // "B"
    EXPECT_TRUE(pageShows().contains("Beef Stew"));
    ASSERT_TRUE(selectedListRow(list));
    EXPECT_EQ(selectedListRow(list)->text(0), "Beef Stew");
    w->cmdList_Click(3); // "C"
    EXPECT_EQ(titles(list), QStringList({"Carrot Soup"}));
    EXPECT_EQ(w->locationName(), "blank.html");
    EXPECT_EQ(banner(*w), "Browsing by All Recipes");

    // One recipe deleted: its row goes, the others stay and the count follows.
    w->cmdList_Click(0);
    listItem(list, "Carrot Soup")->select();
    {
        frmDelete dlg(w.get());
        dlg.Form_Load();
        dlg.cmdDelete_Click();
    }
    EXPECT_EQ(titles(list), QStringList({"apple Crumble", "Beef Stew", "Mom's Pie"}));
    EXPECT_EQ(w->statusText(), "Found 3 recipes for List All listing (Display all)");
    EXPECT_EQ(selectedListRow(list), std::nullopt) << "no other recipe is chosen in its place";

    // Every marked recipe deleted: the list is emptied, and nothing names or counts what it showed.
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=1");
    listItem(list, "Beef Stew")->select();
    frmDelete dlg(w.get());
    dlg.Form_Load();
    dlg.optDelete[0]->setChecked(true);
    dlg.cmdDelete_Click();
    EXPECT_EQ(recipeCount(), 0);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(w->statusText(), "");
    EXPECT_EQ(banner(*w), "");
    EXPECT_EQ(w->locationName(), "blank.html");
}

// The categories are read on a connection of their own beside the titles; the list still shows the
// cookbook as this window has it: its own uncommitted changes, and the open file after another file
// has taken its name on disk.
TEST_F(BrowseTree, AFillShowsTheOpenCookbookAsTheWindowHasIt)
{
    const QString cookbook = makeCookbook();
    const QString path = basDatabase::CookbookPath(cookbook);
    auto w = openWindow(cookbook);
    const auto listAll = [&] {
        w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
        w->tvRecipes_DblClick();
        return listItem(w->lstVRecipes(), "Carrot Soup");
    };

    {
        db::Transaction open(basDatabase::cnCookbook);
        basDatabase::cnCookbook.exec("UPDATE RECIPES SET CATEGORY='Starters' WHERE TITLE='Carrot Soup'");
        auto soup = listAll();
        ASSERT_TRUE(soup);
        EXPECT_EQ(soup->text(1), "Starters");
        EXPECT_EQ(w->lstVRecipes()->count(), 4);
    }

    ASSERT_TRUE(QFile::rename(path, path + ".moved"));
    ASSERT_TRUE(QFile::copy(path + ".moved", path));
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
    sqlite3_exec(other, "UPDATE RECIPES SET CATEGORY='Elsewhere'; DELETE FROM RECIPES WHERE TITLE='Beef Stew'",
                 nullptr, nullptr, nullptr);
    sqlite3_close(other);
    auto soup = listAll();
    ASSERT_TRUE(soup);
    EXPECT_EQ(soup->text(1), "Soups");
    EXPECT_EQ(titles(w->lstVRecipes()), QStringList({"apple Crumble", "Beef Stew", "Carrot Soup", "Mom's Pie"}));
    EXPECT_EQ(program.errorLog(), "");
}

// Another program died while writing the cookbook and left its journal: the next fill reads the cookbook
// as it was before that write, as the window's own connection undoes the journal.
TEST_F(BrowseTree, AFillAfterAnotherProgramDiedWhileWritingListsTheCookbookAsItWas)
{
    const QString cookbook = makeCookbook();
    const QString path = basDatabase::CookbookPath(cookbook);
    auto w = openWindow(cookbook);
    {
        // Enough written through a small cache that some of it reaches the file before its end.
        SecondProcess other({"hold", path,
                             "PRAGMA cache_size=10; UPDATE RECIPES SET CATEGORY='Half Written'; "
                             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                             "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) "
                             "SELECT 'Half ' || i, '', 'Half Written', hex(randomblob(400)), '' FROM n"});
        ASSERT_EQ(other.readLine(), "held");
        other.kill();
    }
    ASSERT_TRUE(QFileInfo::exists(path + "-journal"));

    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    EXPECT_EQ(titles(w->lstVRecipes()), QStringList({"apple Crumble", "Beef Stew", "Carrot Soup", "Mom's Pie"}));
    auto soup = listItem(w->lstVRecipes(), "Carrot Soup");
    ASSERT_TRUE(soup);
    EXPECT_EQ(soup->text(1), "Soups");
    EXPECT_EQ(program.errorLog(), "");
}
