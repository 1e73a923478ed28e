#pragma once
// Filling the main window's recipe list with the recipes of a browse-tree node, and the letter filter.
#include <QString>
#include <optional>

class QTreeWidgetItem;
class RecipeList;

// The browse tree's branches, each with its own query.
enum class BrowseBranch { None, Categories, Ingredients, Country, Recipes, Favourites };

// The branch of a root given by its key ("Categories" ...), or by its text, which may carry a count
// ("Categories (12)"). None for anything else.
BrowseBranch branchOfRootKey(const QString& key);
BrowseBranch branchOfRootText(const QString& text);

// Which titles a fill takes: every one, those LIKE a pattern, or those that sort under a letter of the
// letter bar (accents and letter case aside: "e" takes "Éclair", "o" takes "Œufs").
struct TitleFilter {
    std::optional<QString> like;
    QChar letter;
};

// Fills the list with the recipes of `node`, a child of a root of `branch`, in the dictionary order of
// their titles: those whose category, ingredients or country holds the node's name, all recipes, or the
// favourite's one recipe; of these, only those whose titles pass `titles`. Returns the number of rows
// listed.
int fillBranchRecipes(RecipeList* list, BrowseBranch branch, const QTreeWidgetItem* node,
                      const TitleFilter& titles);

// Refills the list with the recipes of the selected node whose titles begin with `filter` ("Display all"
// for all of them) and reports the count in the status bar; when the recipe on display is no longer
// listed, the page goes blank. Nothing happens while no child node is selected. Errors of the query go
// to the caller.
void FilterRecipeList(const QString& filter);
