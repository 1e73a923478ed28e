#include "browser/SearchCondition.h"

#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "core/RecipeListItems.h"
#include "core/basMain.h"
#include "platform/db/Database.h"
#include "platform/db/UnicodeLike.h"
#include "platform/text/TextRules.h"

#include <QTreeWidget>

namespace {

// "column LIKE ?n", or the same for each distinct pattern joined with OR in brackets.
QString likeAny(SqlCondition& condition, const QString& column, QStringList patterns, bool literal)
{
    patterns.removeDuplicates();
    QStringList terms;
    for (const QString& pattern : patterns) {
        condition.values << pattern;
        terms << QString("%1 LIKE ?%2%3").arg(column).arg(condition.values.size()).arg(literal ? " ESCAPE '\\'" : "");
    }
    return terms.size() == 1 ? terms.first() : "(" + terms.join(" OR ") + ")";
}

// The stored and the typed form of a name picked from a list, matched literally, with `suffix` ("%" or "")
// after it.
QStringList pickedPatterns(const QString& name, const QString& suffix)
{
    return {db::likeLiteral(text::encodeApostrophes(name)) + suffix, db::likeLiteral(name) + suffix};
}

// The stored and the typed form of what the user typed, found anywhere; its "%" and "_" stay wildcards.
QStringList typedPatterns(const QString& typed)
{
    return {"%" + text::encodeApostrophes(typed) + "%", "%" + typed + "%"};
}

bool isPicked(const QString& value) { return !value.isEmpty() && value != "-Any-"; }

} // namespace

SqlCondition searchCondition(const SearchCriteria& c)
{
    SqlCondition condition;
    const QStringList typed = typedPatterns(c.text);
    QStringList terms;
    const struct {
        bool ticked;
        const char* column;
    } fields[] = {{c.recipeName, "TITLE"},
                  {c.author, "AUTHOR"},
                  {c.category, "CATEGORY"},
                  {c.ingredients, "INGREDIENTS"},
                  {c.instructions, "INSTRUCTIONS"}};
    for (const auto& field : fields)
        if (field.ticked)
            terms << likeAny(condition, field.column, typed, false);
    if (terms.isEmpty())
        terms << likeAny(condition, "TITLE", typed, false);

    if (isPicked(c.pickedCategory))
        terms << likeAny(condition, "CATEGORY", pickedPatterns(c.pickedCategory, "%"), true);
    if (isPicked(c.pickedIngredient))
        terms << likeAny(condition, "INGREDIENTS", recipelist::containsPatterns(c.pickedIngredient), true);
    if (isPicked(c.pickedOrigin))
        terms << likeAny(condition, "ORIGIN", pickedPatterns(c.pickedOrigin, ""), true);

    condition.sql = terms.join(" OR ");
    if (c.markedOnly)
        condition.sql = "(" + condition.sql + ") AND MARK=1";
    return condition;
}

SqlCondition ingredientsCondition(const QString& typed)
{
    SqlCondition condition;
    QStringList terms;
    for (const QString& piece : typed.split(','))
        terms << likeAny(condition, "INGREDIENTS", typedPatterns(piece), false);
    condition.sql = terms.join(" AND ");
    return condition;
}

void bindCondition(db::Query& query, const SqlCondition& condition)
{
    for (int i = 0; i < condition.values.size(); ++i)
        query.bind(i + 1, condition.values[i]);
}

void reportFound(RecipeList* list)
{
    IMainWindow& window = basMain::mainWindow();
    window.setStatusText("Found " + QString::number(list->count()) + " for entered search criteria");
    list->fitColumns();
    window.listReplaced(false);
}
