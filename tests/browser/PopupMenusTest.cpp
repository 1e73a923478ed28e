// The list's and the favourites' pop-up menus and the Filter dialog.
#include "BrowserFixture.h"

#include "browser/PopupMenus.h"
#include "browser/frmView.h"
#include "support/TestQueries.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {

class PopupMenus : public BrowserTest {
protected:
    void SetUp() override
    {
        const QString cookbook = makeCookbook();
        window = openWindow(cookbook);
        menus = std::make_unique<frmContextMenus>(window.get());
    }

    // Fills the list with the recipes of a tree node, as a double-click does.
    void browse(const QString& rootKey, const QString& node)
    {
        window->tvRecipes()->setCurrentItem(child(window->tvRecipes(), rootKey, node));
        window->tvRecipes_DblClick();
    }

    qint64 favouriteCount() { return scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM FAVOURITES"); }

    std::unique_ptr<frmMain> window;
    std::unique_ptr<frmContextMenus> menus;
};

} // namespace

TEST_F(PopupMenus, MarkCommandsWriteEveryListedRecipeAndOnlyThose)
{
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=1 WHERE TITLE IN ('apple Crumble', 'Beef Stew')");
    browse("Categories", "Desserts"); // apple Crumble (marked), Mom's Pie
    RecipeList* list = window->lstVRecipes();
    ASSERT_EQ(titles(list), QStringList({"apple Crumble", "Mom's Pie"}));

    const struct {
        int command;
        Qt::CheckState crumble, pie;
    } steps[] = {
        {frmContextMenus::InverseSelection, Qt::Unchecked, Qt::Checked},
        {frmContextMenus::CheckAll, Qt::Checked, Qt::Checked},
        {frmContextMenus::UncheckAll, Qt::Unchecked, Qt::Unchecked},
        {frmContextMenus::InverseSelection, Qt::Checked, Qt::Checked},
    };
    for (const auto& step : steps) {
        window->setStatusText("Found 2 recipes for Desserts");
        menus->mnuSortOption_Click(step.command);
        EXPECT_EQ(listItem(list, "apple Crumble")->checkState(0), step.crumble) << step.command;
        EXPECT_EQ(listItem(list, "Mom's Pie")->checkState(0), step.pie) << step.command;
        EXPECT_EQ(markOf("apple Crumble"), step.crumble == Qt::Checked ? 1 : 0) << step.command;
        EXPECT_EQ(markOf("Mom$$s Pie"), step.pie == Qt::Checked ? 1 : 0) << step.command;
        EXPECT_EQ(window->statusText(), "Found 2 recipes for Desserts");
    }
    // Recipes that are not listed keep their marks.
    EXPECT_EQ(markOf("Beef Stew"), 1);
    EXPECT_EQ(markOf("Carrot Soup"), 1);
    EXPECT_TRUE(list->view()->updatesEnabled());
    EXPECT_FALSE(ui::isBusy());
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

// A long list is marked at the cost of the database writes: the boxes change with one signal for the
// whole list, none (and no repaint) per item.
TEST_F(PopupMenus, MarkCommandsChangeTheBoxesWithoutASignalPerItem)
{
    browse("Recipes", "List All");
    RecipeList* list = window->lstVRecipes();
    ASSERT_EQ(list->count(), 4);
    int itemSignals = 0;
    QObject::connect(list->view()->model(), &QAbstractItemModel::dataChanged, [&] { ++itemSignals; });

    for (int command : {frmContextMenus::CheckAll, frmContextMenus::InverseSelection, frmContextMenus::UncheckAll}) {
        itemSignals = 0;
        menus->mnuSortOption_Click(command);
        EXPECT_LE(itemSignals, 1) << command;
        const Qt::CheckState box = command == frmContextMenus::CheckAll ? Qt::Checked : Qt::Unchecked;
        for (int i = 0; i < list->count(); ++i)
            EXPECT_EQ(listRow(list, i)->checkState(0), box) << command;
        EXPECT_EQ(scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM RECIPES WHERE MARK=1"),
                  command == frmContextMenus::CheckAll ? 4 : 0);
    }
}

// A cookbook that cannot be written: reported under the menu's name, the boxes show only stored marks.
TEST_F(PopupMenus, AMarkCommandThatCannotWriteIsReported)
{
    RecipeList* list = window->lstVRecipes();
    browse("Recipes", "List All");
    basDatabase::cnCookbook.exec("PRAGMA query_only=1");
    menus->mnuSortOption_Click(frmContextMenus::CheckAll);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module mnuSort"));
    EXPECT_TRUE(list->view()->updatesEnabled());
    EXPECT_FALSE(ui::isBusy());
    EXPECT_EQ(listItem(list, "Beef Stew")->checkState(0), Qt::Unchecked) << "a box shows only stored marks";
}

// The list's menu opens below its rows and on an empty list too, with what needs no row.
TEST_F(PopupMenus, TheListMenuOpensInItsEmptyPartWithoutTheRowCommands)
{
    window->resize(900, 600);
    window->show();
    QList<bool> favouritesOffered;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            if (menu->objectName() == "mnuSort")
                favouritesOffered << menu->actions().at(frmContextMenus::AddToFavourites)->isEnabled();
            menu->close();
        }
    });
    watch.start(5);
    QAbstractItemView* view = window->lstVRecipes()->view();
    const QPoint emptyPart(5, view->viewport()->height() - 5);
    for (const auto& [root, node] : {std::pair{"Categories", "Soups"}, std::pair{"Country", "Cote d'Ivoire"}}) {
        browse(root, node); // one recipe, then none
        window->lstVRecipes_MouseUp(Qt::RightButton, emptyPart);
        if (window->lstVRecipes()->count() > 0)
            window->lstVRecipes_MouseUp(Qt::RightButton, listRow(window->lstVRecipes(), 0)->rect().center());
    }
    EXPECT_EQ(favouritesOffered, QList<bool>({false, true, false}));
}

TEST_F(PopupMenus, FavouritesAreAddedOnceAndRemovedByTheNodeUnderThePointer)
{
    browse("Recipes", "List All");
    RecipeList* list = window->lstVRecipes();
    QTreeWidget* tree = window->tvRecipes();

    menus->mnuSortOption_Click(frmContextMenus::AddToFavourites); // nothing selected
    EXPECT_EQ(favouriteCount(), 0);
    for (const char* title : {"Beef Stew", "Carrot Soup", "Carrot Soup"}) {
        listItem(list, title)->select();
        menus->mnuSortOption_Click(frmContextMenus::AddToFavourites);
    }
    EXPECT_EQ(favouriteCount(), 2);
    QTreeWidgetItem* favourites = root(tree, "Favourites");
    ASSERT_EQ(favourites->childCount(), 2);

    // The menu was raised on "Carrot Soup" while "Beef Stew" is the selected node.
    tree->setCurrentItem(child(tree, "Favourites", "Beef Stew"));
    menus->sFavouriteTag = recipelist::itemTag(child(tree, "Favourites", "Carrot Soup"));
    menus->mnuDeleteOption_Click(0);
    EXPECT_EQ(favouriteCount(), 1);
    ASSERT_EQ(root(tree, "Favourites")->childCount(), 1);
    EXPECT_EQ(root(tree, "Favourites")->child(0)->text(0), "Beef Stew");
    EXPECT_EQ(recipeCount(), 4) << "the recipe itself stays";

    basDatabase::CloseCookbook();
    menus->mnuDeleteOption_Click(0);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module mnuDelete"));
}

TEST_F(PopupMenus, FilterDialogNarrowsTheListAndTheStatusTextComesBack)
{
    browse("Recipes", "List All");
    const QString before = window->statusText();
    whenModalOpens([this](QWidget* modal) {
        auto* dlg = qobject_cast<frmView*>(modal);
        ASSERT_TRUE(dlg);
        EXPECT_EQ(dlg->cmbSort->count(), 27);
        EXPECT_EQ(dlg->cmbSort->itemText(0), "Display all");
        EXPECT_EQ(dlg->cmbSort->currentText(), "");
        dlg->cmbSort->setCurrentText("a");
        dlg->cmdSort_Click();
        EXPECT_EQ(titles(window->lstVRecipes()), QStringList{"apple Crumble"});
        EXPECT_EQ(window->statusText(), "Found 1 recipes for List All listing (a)");
        dlg->cmdClose_Click();
    });
    menus->mnuSortOption_Click(frmContextMenus::Filter);
    EXPECT_EQ(titles(window->lstVRecipes()), QStringList{"apple Crumble"});
    EXPECT_EQ(window->statusText(), before);

    // Typed text with an apostrophe, an empty box, and a failure that leaves the dialog usable.
    frmView dlg(window.get());
    dlg.Form_Load();
    dlg.cmbSort->setCurrentText("mom'");
    dlg.cmdSort_Click();
    EXPECT_EQ(titles(window->lstVRecipes()), QStringList{"Mom's Pie"});
    dlg.cmbSort->setCurrentText("");
    dlg.cmdSort_Click();
    EXPECT_TRUE(titles(window->lstVRecipes()).isEmpty());

    basDatabase::cnCookbook.close();
    dlg.cmbSort->setCurrentText("Display all");
    dlg.cmdSort_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module frmView cmdSort"));
    EXPECT_TRUE(dlg.cmbSort->isEnabled() && dlg.cmdSort->isEnabled() && dlg.cmdClose->isEnabled());
}

TEST_F(PopupMenus, RightClickOnAFavouriteRemovesThatOne)
{
    basDatabase::AddFavourite(1);
    basDatabase::AddFavourite(3);
    window->RefreshFavourites();
    window->resize(900, 600);
    window->show();
    QTreeWidget* tree = window->tvRecipes();
    QTreeWidgetItem* first = root(tree, "Favourites")->child(0);
    const QString kept = first->text(0);
    tree->setCurrentItem(first);

    // The user picks the menu's one item with the keyboard.
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, [] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            for (int key : {Qt::Key_Down, Qt::Key_Return}) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                QApplication::sendEvent(menu, &press);
            }
        }
    });
    chooser.start(10);
    QTreeWidgetItem* second = root(tree, "Favourites")->child(1);
    window->tvRecipes_MouseUp(Qt::RightButton, tree->visualItemRect(second).center());

    EXPECT_EQ(favouriteCount(), 1);
    ASSERT_EQ(root(tree, "Favourites")->childCount(), 1);
    EXPECT_EQ(root(tree, "Favourites")->child(0)->text(0), kept);
}
