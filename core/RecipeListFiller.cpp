#include "core/RecipeListFiller.h"

#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "core/NumberText.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/text/DictionaryOrder.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QTreeWidgetItem>

#include <cmath>
#include <optional>

namespace {
// A filter of one letter "a" to "z" (either case), as the letter bar and the Filter dialog's list give:
// it takes the titles that sort under that letter. Other text takes the titles that begin with it.
bool isLetterOfTheBar(const QString& filter)
{
    return filter.size() == 1 && filter[0].unicode() < 0x80 && filter[0].isLetter() && text::dictionaryRules();
}
} // namespace

BrowseBranch branchOfRootKey(const QString& key)
{
    if (key == "Categories")
        return BrowseBranch::Categories;
    if (key == "Ingredients")
        return BrowseBranch::Ingredients;
    if (key == "Country")
        return BrowseBranch::Country;
    if (key == "Recipes")
        return BrowseBranch::Recipes;
    if (key == "Favourites")
        return BrowseBranch::Favourites;
    return BrowseBranch::None;
}

BrowseBranch branchOfRootText(const QString& text)
{
    // Tested in this order: the reference roots carry their count after the name.
    if (text.startsWith("Categories"))
        return BrowseBranch::Categories;
    if (text.startsWith("Ingredients"))
        return BrowseBranch::Ingredients;
    if (text.startsWith("Country"))
        return BrowseBranch::Country;
    if (text.startsWith("Recipes"))
        return BrowseBranch::Recipes;
    if (text == "Favourites")
        return BrowseBranch::Favourites;
    return BrowseBranch::None;
}

int fillBranchRecipes(RecipeList* list, BrowseBranch branch, const QTreeWidgetItem* node,
                      const TitleFilter& titles)
{
    QString column;
    switch (branch) {
    case BrowseBranch::Categories: column = "CATEGORY"; break;
    case BrowseBranch::Ingredients: column = "INGREDIENTS"; break;
    case BrowseBranch::Country: column = "ORIGIN"; break;
    case BrowseBranch::Recipes:
    case BrowseBranch::Favourites: break;
    case BrowseBranch::None: list->clear(); return 0;
    }

    // A recipe's row holds its picture and long texts before its title: the titles come from their
    // index, the categories from a scan that stops at the first columns, the marks from their index.
    QStringList rowConditions, titleConditions;
    if (!column.isEmpty())
        rowConditions << QString("(%1 LIKE :stored ESCAPE '\\' OR %1 LIKE :typed ESCAPE '\\')").arg(column);
    if (branch == BrowseBranch::Favourites)
        rowConditions << "ID = :id";
    if (titles.like)
        titleConditions << "TITLE LIKE :title";
    if (!titles.letter.isNull())
        titleConditions << "under_letter(TITLE, :letter)";
    const auto where = [](const QStringList& conditions) {
        return conditions.isEmpty() ? QString() : " WHERE " + conditions.join(" AND ");
    };

    db::Query titleRows(basDatabase::cnCookbook, "SELECT ID, TITLE FROM RECIPES" + where(titleConditions));
    if (titles.like)
        titleRows.bind(":title", *titles.like);
    if (!titles.letter.isNull())
        titleRows.bind(":letter", QString(titles.letter));
    // Narrowed by title, the few rows whose titles pass are read one by one, in the titles' order.
    // Otherwise the categories are read beside the titles, on a connection of their own when one opens.
    const bool byTitle = !titleConditions.isEmpty();
    std::optional<db::Connection> reader;
    if (!byTitle)
        reader = basDatabase::cnCookbook.openReader();
    db::Query rows(reader ? *reader : basDatabase::cnCookbook,
                   byTitle ? "SELECT ID, TITLE, CATEGORY, MARK FROM RECIPES" + where(rowConditions + titleConditions) +
                                 " ORDER BY TITLE ASC"
                           : "SELECT ID, CATEGORY FROM RECIPES" + where(rowConditions));
    if (titles.like)
        rows.bind(":title", *titles.like);
    if (!titles.letter.isNull())
        rows.bind(":letter", QString(titles.letter));
    if (!column.isEmpty()) {
        const QStringList patterns = recipelist::containsPatterns(node->text(0));
        rows.bind(":stored", patterns[0]);
        rows.bind(":typed", patterns[1]);
    }
    if (branch == BrowseBranch::Favourites) {
        const auto favouriteId = static_cast<qint64>(std::nearbyint(leadingNumber(recipelist::itemTag(node))));
        rows.bind(":id", basDatabase::GetFavouriteRecipeID(favouriteId));
    }
    if (byTitle)
        return recipelist::fillRows(list, rows);
    db::Query marked(basDatabase::cnCookbook, "SELECT ID FROM RECIPES WHERE MARK=1");
    return recipelist::fillRows(list, titleRows, rows, marked,
                                rowConditions.isEmpty() ? recipelist::Listing::EveryTitle
                                                        : recipelist::Listing::SomeTitles);
}

void FilterRecipeList(const QString& filter)
{
    IMainWindow& window = basMain::mainWindow();
    QTreeWidget* tree = window.tvRecipes();
    RecipeList* list = window.lstVRecipes();
    const QTreeWidgetItem* node = recipelist::selectedItem(tree);
    if (!list || !node || !node->parent())
        return;

    ui::BusyScope busy;
    ui::RepaintFreeze freeze(window.widget());
    ui::WaitCursor wait;

    const QString pattern = text::encodeApostrophes(filter.isEmpty() ? QString() : filter + "%");
    list->clear();
    TitleFilter titles;
    if (isLetterOfTheBar(filter))
        titles.letter = filter[0];
    else if (filter != "Display all")
        titles.like = pattern;
    try {
        fillBranchRecipes(list, branchOfRootText(node->parent()->text(0)), node, titles);
    } catch (...) {
        window.setStatusText("");
        window.listReplaced(true);
        throw;
    }
    list->fitColumns();

    window.setStatusText("Found " + QString::number(list->count()) + " recipes for " + node->text(0) +
                         " listing (" + filter + ")");
    window.listReplaced(true);
}
