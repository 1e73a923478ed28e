#pragma once
// A main window for cookbook tests: records the caption and ResetScreen calls, and has a recipe list with
// check boxes whose changes write the mark the way the real list does (and are counted).
#include "browser/RecipeListView.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "support/StubMainWindow.h"

class CookbookTestWindow final : public StubMainWindow {
public:
    CookbookTestWindow()
    {
        QObject::connect(list_.recipes(), &RecipeListModel::markToggled, [this](int row, bool marked) {
            ++markWrites;
            basDatabase::SetRecipeMark(recipelist::keyOf(list_.row(row)), marked);
        });
    }

    // Adds a list row as the list fills do: ID, title, categories, check box.
    void addItem(qint64 recipeId, const QString& title, bool checked)
    {
        std::vector<RecipeRow> rows(list_.recipes()->rows());
        rows.push_back({recipeId, title, "Dessert", checked});
        list_.setRows(std::move(rows));
    }

    void ResetScreen() override
    {
        ++resets;
        list_.clear();
        basDatabase::sCurrentCookbook.clear();
    }
    RecipeList* lstVRecipes() override { return &list_; }

    int resets = 0;      // ResetScreen calls
    int markWrites = 0;  // check box changes that reached the cookbook

private:
    RecipeListView list_;
};
