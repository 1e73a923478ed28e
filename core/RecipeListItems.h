#pragma once
// The rows of the main window's recipe list, the same for every fill (browse tree, letter filter,
// search): key "R" & ID, title and categories with the stored "$$" shown as "'", check box = mark.
// Also the key and tag helpers that the browse tree and other report lists share.
#include "core/RecipeList.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <exception>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
namespace db {
class Query;
}

namespace recipelist {

// One row for a recipe, from its values as stored.
RecipeRow makeRow(qint64 id, const QString& storedTitle, const QString& storedCategory, bool marked);

// Reads every row the query still returns (columns ID, TITLE, CATEGORY, MARK) and puts them in the
// dictionary order of the titles as shown (equal titles in query order). The reading and sorting run
// beside the window's thread; the window repaints meanwhile but takes no input, so that no other fill
// can start under this one. When reading a row fails, the rows read so far are returned and the error
// goes to `failure` (thrown when `failure` is null).
std::vector<RecipeRow> readRows(db::Query& rows, std::exception_ptr* failure = nullptr);

// Whether the categories' query of the three-query readRows returns every recipe (List All) or some.
enum class Listing { EveryTitle, SomeTitles };

// The same from three queries, each of which takes the cheapest way through a cookbook whose rows hold
// pictures and long texts before the title: `titles` returns ID and TITLE (the titles' index holds
// both), `categories` ID and CATEGORY (the table in its own order, read no further than its first
// columns) and `marked` the ID of every marked recipe (the "Marked" index). A recipe is listed when the
// first two both return it. `categories` may run on a connection of its own (db::Connection::openReader):
// it is then read on a thread of its own beside the titles.
std::vector<RecipeRow> readRows(db::Query& titles, db::Query& categories, db::Query& marked, Listing listing,
                                std::exception_ptr* failure = nullptr);

// Puts the rows the query returns in place of the list's rows (see readRows), in one go: nothing is
// written to the cookbook. When reading a row fails, the rows read so far are listed before the error
// goes on. Returns the rows listed.
int fillRows(RecipeList* list, db::Query& rows);
int fillRows(RecipeList* list, db::Query& titles, db::Query& categories, db::Query& marked, Listing listing);
// The least time a fill lets the window repaint after reading, in milliseconds (100): a fill that took
// longer repaints once more before its rows go in. Returns the previous value.
qint64 setFillBatchInterval(qint64 ms);

// The key of a list row ("R" & ID), and that of the list's selected row ("" for none).
QString keyOf(const RecipeRow& row);
QString selectedKey(const RecipeList* list);
// The list's selected row, nullptr when none is selected (or there is no list).
const RecipeRow* selectedRow(const RecipeList* list);

// The key and tag kept in column 0 of a tree node or report-list item ("" for none).
QString itemKey(const QTreeWidgetItem* item);
QString itemTag(const QTreeWidgetItem* item);

// The ID in a key or tag after its first `skip` characters ("R12" -> 12 with skip 1); anything that is no
// whole number fails with "Type mismatch".
qint64 idOf(const QString& keyOrTag, int skip = 1);

// The selected item of a tree or report list, nullptr when none is selected.
QTreeWidgetItem* selectedItem(const QTreeWidget* widget);

// The LIKE patterns (for ESCAPE '\') that find `name` anywhere in a column of the Recipes table, whether
// the name was stored with "$$" for its apostrophes or with the apostrophes as typed. A "%" or "_" in
// the name matches only itself.
QStringList containsPatterns(const QString& name);

} // namespace recipelist
