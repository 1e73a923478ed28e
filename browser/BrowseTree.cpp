// The browse tree and the recipe list: the tree's five branches, the list fills by node, marks, the
// letter buttons.
#include "browser/ImageLists.h"
#include "browser/RecipeListView.h"
#include "browser/frmMain.h"
#include "core/DE.h"
#include "core/Helpers.h"
#include "core/RecipeListFiller.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/text/DictionaryOrder.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// A recipe under the Favourites branch.
bool isFavourite(const QTreeWidgetItem* node) { return node->parent() && node->parent()->text(0) == "Favourites"; }

// Which image of ilsIcons a node shows, and which one when it is selected (-1: the same).
constexpr int ImageRole = Qt::UserRole + 2;
constexpr int SelectedImageRole = Qt::UserRole + 3;

void setNodeImages(QTreeWidgetItem* node, int image, int selectedImage)
{
    node->setData(0, ImageRole, image);
    node->setData(0, SelectedImageRole, selectedImage);
    if (selectedImage < 0) {
        node->setIcon(0, images::ilsIcons(image));
        return;
    }
    QIcon icon;
    const QIcon normal = images::ilsIcons(image), selected = images::ilsIcons(selectedImage);
    for (const QSize size : normal.availableSizes())
        icon.addPixmap(normal.pixmap(size), QIcon::Normal);
    for (const QSize size : selected.availableSizes())
        icon.addPixmap(selected.pixmap(size), QIcon::Selected);
    node->setIcon(0, icon);
}

void setSelectedImage(QTreeWidgetItem* node, int selectedImage)
{
    setNodeImages(node, node->data(0, ImageRole).toInt(), selectedImage);
}

QTreeWidgetItem* rootByKey(const QTreeWidget* tree, const QString& key)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (recipelist::itemKey(tree->topLevelItem(i)) == key)
            return tree->topLevelItem(i);
    return nullptr;
}

} // namespace

// ---- building the tree

QTreeWidgetItem* frmMain::addRoot(const QString& text, const QString& key, int image)
{
    auto* root = new QTreeWidgetItem(tvRecipes_, {text});
    root->setData(0, ItemKeyRole, key);
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    setNodeImages(root, image, -1);
    return root;
}

QTreeWidgetItem* frmMain::addChild(QTreeWidgetItem* root, const QString& key, const QString& text, int image)
{
    auto* child = new QTreeWidgetItem(root, {text});
    child->setData(0, ItemKeyRole, key);
    setNodeImages(child, image, -1);
    return child;
}

void frmMain::addReferenceBranch(const QString& rootText, const QString& rootKey, const QString& sql,
                                 const QString& column, const QString& keyLetter, int image)
{
    QTreeWidgetItem* root = addRoot(rootText, rootKey, images::BranchCollapsed);
    std::vector<std::pair<QString, QString>> entries; // ID, name
    db::Query rows(DE.cn, sql);
    while (rows.next())
        entries.emplace_back(rows.value("ID").toString(), rows.text(column));
    text::sortInDictionaryOrder(entries, [](const auto& entry) { return entry.second; });
    for (const auto& [id, name] : entries)
        addChild(root, keyLetter + id, name, image);
}

void frmMain::addFavourites(QTreeWidgetItem* root)
{
    db::Query rows(basDatabase::cnCookbook,
                   "SELECT Favourites.ID AS ID, Recipes.Title AS TITLE FROM Favourites "
                   "INNER JOIN Recipes ON Favourites.RecipeID = Recipes.ID ORDER BY Favourites.ID");
    while (rows.next()) {
        const QString id = rows.value("ID").toString();
        QTreeWidgetItem* node =
            addChild(root, "F" + id, text::decodeApostrophes(rows.text("TITLE")), images::Favourite);
        node->setData(0, ItemTagRole, id);
    }
}

void frmMain::clearTreeAndList()
{
    tvRecipes_->clear();
    lstVRecipes_->clear();
    listEmptied();
}

void frmMain::listEmptied()
{
    lblDisplay_->clear();
    setStatusText("");
    showBlankPage();
}

void frmMain::RefreshViews()
{
    ui::BusyScope busy;
    try {
        ui::RepaintFreeze freeze(this);
        clearTreeAndList();
        setStatusText(""); // the count it showed was that of the list just emptied
        // The reference branches come from the reference database, but there is nothing to browse
        // without a cookbook.
        if (basDatabase::sCurrentCookbook.isEmpty())
            return;
        addReferenceBranch("Categories (" + CountCategories() + ")", "Categories",
                           "SELECT ID, CATEGORY FROM CATEGORY ORDER BY CATEGORY ASC", "CATEGORY", "A",
                           images::CategoryEntry);
        addReferenceBranch("Ingredients (" + CountIngredients() + ")", "Ingredients",
                           "SELECT ID, INGREDIENT FROM INGREDIENT ORDER BY INGREDIENT ASC", "INGREDIENT", "I",
                           images::IngredientEntry);
        addReferenceBranch("Country (" + CountOrigins() + ")", "Country",
                           "SELECT ID, ORIGIN FROM ORIGIN ORDER BY ORIGIN ASC", "ORIGIN", "C",
                           images::CountryEntry);
        QTreeWidgetItem* recipes = addRoot("Recipes", "Recipes", images::BranchCollapsed);
        addChild(recipes, "RECIPES1", "List All", images::IngredientEntry);
        addFavourites(addRoot("Favourites", "Favourites", images::Favourite));
    } catch (...) {
        basMain::LogCurrentException("Function RefreshViews");
    }
}

void frmMain::RefreshFavourites()
{
    if (basDatabase::sCurrentCookbook.isEmpty())
        return;
    try {
        ui::RepaintFreeze freeze(tvRecipes_);
        delete rootByKey(tvRecipes_, "Favourites");
        QTreeWidgetItem* root = addRoot("Favourites", "Favourites", images::Favourite);
        addFavourites(root);
        root->setExpanded(true);
    } catch (const AppError& e) {
        ui::msgBox(e.description, ui::Buttons::OK, ui::Icon::None, ui::programTitle());
    } catch (const std::exception& e) {
        ui::msgBox(QString::fromLocal8Bit(e.what()), ui::Buttons::OK, ui::Icon::None, ui::programTitle());
    } catch (...) {
        ui::msgBox("Internal error", ui::Buttons::OK, ui::Icon::None, ui::programTitle());
    }
}

void frmMain::tvRecipes_Collapse(QTreeWidgetItem* node)
{
    try {
        if (node)
            setSelectedImage(node, node->text(0) == "Favourites" ? images::Favourite : images::BranchCollapsed);
    } catch (...) {
    }
}

void frmMain::tvRecipes_Expand(QTreeWidgetItem* node)
{
    if (!node)
        return;
    try {
        const bool favourite =
            node->text(0) == "Favourites" || isFavourite(node);
        setSelectedImage(node, favourite ? images::Favourite : images::BranchExpanded);
    } catch (...) {
    }
}

// ---- the list fill by node

void frmMain::tvRecipes_DblClick()
{
    QTreeWidgetItem* node = recipelist::selectedItem(tvRecipes_);
    if (!node)
        return;
    ui::BusyScope busy;
    try {
        ui::RepaintFreeze freeze(lstVRecipes_);
        ui::WaitCursor wait;
        setStatusText("");
        showBlankPage();
        if (node->parent()) {
            lstVRecipes_->clear();
            const BrowseBranch branch = branchOfRootKey(recipelist::itemKey(node->parent()));
            switch (branch) {
            case BrowseBranch::Country: lblDisplay_->setText("Browsing by Country of Origin : " + node->text(0)); break;
            case BrowseBranch::Ingredients: lblDisplay_->setText("Browsing by Ingredients : " + node->text(0)); break;
            case BrowseBranch::Categories: lblDisplay_->setText("Browsing by Category : " + node->text(0)); break;
            case BrowseBranch::Favourites: lblDisplay_->setText("Browsing by Favourites"); break;
            case BrowseBranch::Recipes: lblDisplay_->setText("Browsing by All Recipes"); break;
            case BrowseBranch::None: break;
            }
            fillBranchRecipes(lstVRecipes_, branch, node, {});
            if (branch != BrowseBranch::Favourites && branch != BrowseBranch::None)
                setStatusText("Found " + QString::number(lstVRecipes_->count()) + " recipes for " + node->text(0));
        }
        lstVRecipes_->fitColumns();
    } catch (...) {
        basMain::LogCurrentException("tvRecipes DblClick");
    }
}

void frmMain::tvRecipes_KeyUp(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        tvRecipes_DblClick();
}

void frmMain::tvRecipes_MouseUp(Qt::MouseButton button, const QPoint& pos)
{
    if (button != Qt::RightButton)
        return;
    QTreeWidgetItem* node = tvRecipes_->itemAt(pos);
    if (!node)
        return;
    tvRecipes_->setCurrentItem(node);
    if (isFavourite(node))
        basMain::RunHandler("tvRecipes MouseUp", [&] { popupDeleteMenu(QCursor::pos()); });
}

// ---- the list

void frmMain::lstVRecipes_Click()
{
    const QString key = recipelist::selectedKey(lstVRecipes_);
    if (!key.isEmpty())
        DisplayRecipe(key, false);
}

void frmMain::lstVRecipes_ItemCheck(int row)
{
    if (row < 0 || row >= lstVRecipes_->count())
        return;
    const bool marked = lstVRecipes_->row(row).marked;
    try {
        ui::WaitCursor wait;
        basDatabase::SetRecipeMark(recipelist::keyOf(lstVRecipes_->row(row)), marked);
    } catch (...) {
        // The box never shows a mark that is not stored.
        lstVRecipes_->showMark(row, !marked);
        basMain::LogCurrentException("lstVRecipes ItemCheck");
    }
}

void frmMain::lstVRecipes_MouseUp(Qt::MouseButton button, const QPoint& pos)
{
    if (button != Qt::RightButton)
        return;
    // On a row the menu acts on that row; in the empty part it offers what needs no row.
    const QModelIndex at = lstVRecipes_->indexAt(pos);
    if (at.isValid())
        lstVRecipes_->selectRow(at.row());
    try {
        popupSortMenu(QCursor::pos(), at.isValid());
    } catch (...) {
        // the list's right-click goes on past any error
    }
}

void frmMain::popupMenuFromKeyboard(QAbstractItemView* view)
{
    if (view == lstVRecipes_) {
        const int current = lstVRecipes_->currentIndex().isValid() ? lstVRecipes_->currentIndex().row() : -1;
        lstVRecipes_->selectRow(current);
        // Under the row, where the eye is, never where the pointer happens to rest.
        const QRect row = current >= 0 ? lstVRecipes_->visualRect(lstVRecipes_->currentIndex()) : QRect();
        const QPoint at = lstVRecipes_->viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
        try {
            popupSortMenu(at, current >= 0);
        } catch (...) {
            // as the right-click: on past any error
        }
        return;
    }
    if (view != tvRecipes_)
        return;
    QTreeWidgetItem* item = tvRecipes_->currentItem();
    if (item) {
        tvRecipes_->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
        tvRecipes_->scrollToItem(item);
    }
    const QRect row = item ? tvRecipes_->visualItemRect(item) : QRect();
    const QPoint at = tvRecipes_->viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
    if (item && isFavourite(item))
        basMain::RunHandler("tvRecipes MouseUp", [&] { popupDeleteMenu(at); });
}

void frmMain::cmdList_Click(int index)
{
    if (index < 0 || index >= cmdList_.size())
        return;
    basMain::RunHandler("cmdList Click", [&] {
        FilterRecipeList(index == 0 ? QString("Display all") : cmdList_[index]->text().toLower());
    });
}
