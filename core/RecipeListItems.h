#pragma once
// The main window's recipe list and its items, the same for every fill (browse tree, letter filter,
// search): key "R" & ID, title and categories with the stored "$$" shown as "'", check box = mark.
#include <QList>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;
namespace db {
class Query;
}

namespace recipelist {

// Removes every item and gives the list its two columns, "Title" and "Categories".
void resetColumns(QTreeWidget* list);

// One item for a recipe, from its values as stored. `withTag` also keeps the ID as the item's tag.
QTreeWidgetItem* makeItem(qint64 id, const QString& storedTitle, const QString& storedCategory, bool marked,
                          bool withTag = false);

// Appends one item for every row the query still returns (columns ID, TITLE, CATEGORY, MARK), in the
// dictionary order of the titles as shown (equal titles in query order) and in one insertion, with the
// list's signals blocked so that filling never writes a mark. A long fill lets the window repaint (taking
// no input) every tenth of a second while it reads. When reading a row fails, the items read so far are
// added before the error goes on. Returns the rows added.
int appendRows(QTreeWidget* list, db::Query& rows, bool withTag = false);
// The time between two repaints of a long fill, in milliseconds (100); returns the previous one.
qint64 setFillBatchInterval(qint64 ms);

// The key and tag kept in column 0 of a list item or tree node ("" for none).
QString itemKey(const QTreeWidgetItem* item);
QString itemTag(const QTreeWidgetItem* item);

// The ID in a key or tag after its first `skip` characters ("R12" -> 12 with skip 1); anything that is no
// whole number fails with "Type mismatch".
qint64 idOf(const QString& keyOrTag, int skip = 1);

// The selected item of a list or tree, nullptr when none is selected.
QTreeWidgetItem* selectedItem(const QTreeWidget* widget);

// The LIKE patterns (for ESCAPE '\') that find `name` anywhere in a column of the Recipes table, whether
// the name was stored with "$$" for its apostrophes or with the apostrophes as typed. A "%" or "_" in
// the name matches only itself.
QStringList containsPatterns(const QString& name);

} // namespace recipelist
