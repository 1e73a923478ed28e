// Searching a large cookbook: a text search that lists its finds, marking and unmarking the listed
// recipes from the list's pop-up menu, and "What can I make with?" with three ingredients. Prints
// "name value unit" per figure (median of several runs).
#include "BenchCookbook.h"
#include "browser/PopupMenus.h"
#include "browser/frmMain.h"
#include "browser/frmMealMaker.h"
#include "browser/frmSearch.h"

#include <QCheckBox>
#include <QLineEdit>

#include <cstdio>

namespace {

using namespace bench;

void print(const char* name, int recipes, double value, const char* unit)
{
    std::printf("%s_%d %.1f %s\n", name, recipes, value, unit);
    std::fflush(stdout);
}

// Three ingredient names that one recipe holds, so that the search finds at least that recipe.
QStringList threeIngredientsOfOneRecipe()
{
    db::Query first(basDatabase::cnCookbook, "SELECT INGREDIENTS FROM RECIPES ORDER BY ID LIMIT 1");
    first.next();
    QStringList names;
    for (const QString& line : first.text("INGREDIENTS").split("\r\n").mid(0, 3))
        names << line.section(" cup ", 1);
    return names;
}

void benchCookbook(int recipes)
{
    withFilledWindow(recipes, [recipes](frmMain& window) {
        window.RefreshViews();
        RecipeList* list = window.lstVRecipes();
        const QStringList ingredients = column("SELECT INGREDIENT FROM INGREDIENT ORDER BY ID", "INGREDIENT");

        frmSearch search(&window);
        search.Form_Load();
        search.txtSearch->setText("Roast");
        search.chkRecipeName->setChecked(true);
        printBeforeAfter(QString("search_title_%1").arg(recipes), [&] { search.cmdSearch_Click(); });
        print("search_title_items", recipes, list->count(), "items");

        frmContextMenus menus(&window);
        print("check_all_found", recipes,
              medianMs([&] { menus.mnuSortOption_Click(frmContextMenus::CheckAll); }), "ms");
        print("uncheck_all_found", recipes,
              medianMs([&] { menus.mnuSortOption_Click(frmContextMenus::UncheckAll); }), "ms");

        search.chkRecipeName->setChecked(false);
        search.chkIng->setChecked(true);
        search.txtSearch->setText("cup " + ingredients[7]);
        print("search_ingredients", recipes, medianMs([&] { search.cmdSearch_Click(); }), "ms");
        print("search_ingredients_items", recipes, list->count(), "items");

        window.tvRecipes()->setCurrentItem(childOf(window.tvRecipes(), "Recipes", 0));
        window.tvRecipes_DblClick();
        print("check_all_listed_all", recipes,
              medianMs([&] { menus.mnuSortOption_Click(frmContextMenus::CheckAll); }, 3), "ms");
        print("uncheck_all_listed_all", recipes,
              medianMs([&] { menus.mnuSortOption_Click(frmContextMenus::UncheckAll); }, 3), "ms");

        frmMealMaker mealMaker(&window);
        mealMaker.txtSearch->setText(threeIngredientsOfOneRecipe().join(","));
        print("meal_maker_three", recipes, medianMs([&] { mealMaker.cmdOption_Click(0); }), "ms");
        print("meal_maker_three_items", recipes, list->count(), "items");
        mealMaker.txtSearch->setText(ingredients[0]);
        print("meal_maker_one", recipes, medianMs([&] { mealMaker.cmdOption_Click(0); }), "ms");
        print("meal_maker_one_items", recipes, list->count(), "items");
    });
}

} // namespace

int main(int argc, char** argv) { return runForCookbookSizes(argc, argv, benchCookbook); }
