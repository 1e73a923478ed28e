// Browsing a large cookbook: filling the recipe list by "List All", by a category and by a letter, and
// rebuilding the browse tree. Prints "name value unit" per figure (median of several runs).
#include "BenchCookbook.h"
#include "browser/frmMain.h"
#include "core/DE.h"
#include "core/RecipeListFiller.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/DictionaryOrder.h"
#include "tests/support/Headless.h"
#include "tests/support/ProgramLayout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace bench;

void benchCookbook(int recipes)
{
    withFilledWindow(recipes, [recipes](frmMain& window) {
        const QString n = QString::number(recipes);
        std::printf("refresh_views_%s %.1f ms\n", qPrintable(n), medianMs([&] { window.RefreshViews(); }));
        int nodes = 0;
        for (QTreeWidgetItemIterator it(window.tvRecipes()); *it; ++it)
            ++nodes;
        std::printf("tree_nodes_%s %d nodes\n", qPrintable(n), nodes);

        QTreeWidget* tree = window.tvRecipes();
        tree->setCurrentItem(childOf(tree, "Recipes", 0));
        printBeforeAfter("list_all_fill_" + n, [&] { window.tvRecipes_DblClick(); });
        std::printf("list_all_items_%s %d items\n", qPrintable(n), window.lstVRecipes()->count());
        printBeforeAfter("letter_filter_all_" + n, [&] { window.cmdList_Click(0); });
        printBeforeAfter("letter_filter_s_" + n, [&] { window.cmdList_Click(19); });
        std::printf("letter_filter_s_items_%s %d items\n", qPrintable(n), window.lstVRecipes()->count());

        tree->setCurrentItem(childOf(tree, "Categories", 7));
        std::printf("category_fill_%s %.1f ms\n", qPrintable(n), medianMs([&] { window.tvRecipes_DblClick(); }));
        tree->setCurrentItem(childOf(tree, "Ingredients", 11));
        std::printf("ingredient_fill_%s %.1f ms\n", qPrintable(n), medianMs([&] { window.tvRecipes_DblClick(); }));
    });
}

} // namespace

int main(int argc, char** argv) { return runForCookbookSizes(argc, argv, benchCookbook); }
