#pragma once
// The conditions of the search dialog and of "What can I make with?": SQL with "?N" placeholders and the
// values to bind to them, so that the same condition serves the SELECT that lists the recipes and the
// UPDATE that marks them. Typed text keeps its "%" and "_" wildcards; names picked from the reference
// lists match literally. Text holding an apostrophe matches both stored forms ("$$" and "'").
#include <QString>
#include <QVariantList>

class RecipeList;
namespace db {
class Query;
}

struct SqlCondition {
    QString sql;
    QVariantList values; // bound to ?1, ?2 ... in order
};

struct SearchCriteria {
    QString text;
    bool recipeName = false;
    bool author = false;
    bool category = false;
    bool ingredients = false;
    bool instructions = false;
    // Picked names; "" or "-Any-" for none.
    QString pickedCategory;
    QString pickedIngredient;
    QString pickedOrigin;
    bool markedOnly = false;
};

// Recipes whose ticked fields (the title when none is ticked) contain the text, or whose category list
// begins with the picked category, whose ingredients hold the picked ingredient or whose origin is the
// picked country; with `markedOnly`, only the marked ones among all of these.
SqlCondition searchCondition(const SearchCriteria& criteria);

// Recipes whose ingredients contain every comma-separated piece of the text, each piece as typed.
SqlCondition ingredientsCondition(const QString& typed);

// Binds the condition's values to a query prepared with its SQL.
void bindCondition(db::Query& query, const SqlCondition& condition);

// The ending of a search's list fill: the count in the status bar and the columns fitted.
void reportFound(RecipeList* list);
