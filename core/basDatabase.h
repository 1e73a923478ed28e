#pragma once
// Cookbook files: their format, the one open cookbook, and the shared operations on its recipe rows.
//
// A cookbook is one SQLite file "<name>.tqc" in "\data\cookbooks\". At most one is open at a time:
// `sCurrentCookbook` names it and `cnCookbook` is the connection to it. Each operation runs its own
// queries on that connection with bound values; nothing is left open between operations.
#include "platform/db/Database.h"

#include <QSet>
#include <QString>

namespace basDatabase {

inline QString sCurrentCookbook;     // file name of the open cookbook ("" when none)
inline db::Connection cnCookbook;    // connection to the open cookbook

// The cookbooks folder, "\data\cookbooks\" under the program folder, and a file in it.
QString CookbooksFolder();
QString CookbookPath(const QString& fileName);
// True for a bare file name that stays inside the cookbooks folder: not empty, no folder part, not "." or "..".
// A name from settings or data that is not one is treated as a missing cookbook.
bool IsCookbookFileName(const QString& fileName);
// True for a name the Cookbook Manager lists as a cookbook: it ends in "tqc", in any letter case.
bool HasCookbookEnding(const QString& fileName);

// The statements that lay out a new, empty cookbook, table by table in creation order.
QStringList CookbookSchema();
// The size limit in characters of a Recipes column as the schema declares it (letter case of the name
// ignored), 0 for a column without one.
int RecipeColumnSize(const QString& column);

// Makes the new cookbook file "\Data\cookbooks\" + fileName. A failing step is offered in the "Code Gen
// Error" box: Abort stops, Retry repeats the step, Ignore goes on with the next one. The file is made
// exclusively: one that exists already is never written into. True when this call made the file (its
// tables may still be incomplete after Ignore or Abort; `complete` then tells false). Each failure shown
// in the box is also recorded in the error log.
bool CreateCookbook(const QString& fileName, bool* complete = nullptr);

// Makes the cookbook current: closes the open one first, then opens the file (never creating one) and
// names it in the main window's caption. False for an empty name (nothing changes) or a missing file.
// A file that cannot be opened as a cookbook (damaged, not a cookbook, in use for a compaction or a
// delete in another window) raises AppError, after the open cookbook was closed. While it is open the
// cookbook is shared with other instances (CookbookLock.h): none compacts or deletes it.
bool OpenCookbook(const QString& fileName);
// True when the open cookbook's file was renamed, moved away, replaced or deleted since it was opened:
// every write to it then fails.
bool OpenCookbookHasMoved();
// After that: opens the cookbook now at the open cookbook's path, if there is one, and has the main window
// show it. False when none is there (the open cookbook stays as it was) or it cannot be opened (then none
// is open).
bool ReopenMovedCookbook();
// Releases the open cookbook (its connection, then this instance's share of it) and, when one was
// current, has the main window reset itself.
void CloseCookbook();

// ---- recipe record operations (raise AppError when no cookbook is open, unless said otherwise)

// Stores the picture file's bytes and its bare file name in the recipe row; an empty file stores nothing.
// Raises when the file cannot be read or no recipe has that ID.
void SavePictureToRecipe(qint64 recipeId, const QString& picturePath);
// Writes the recipe's stored picture into `folder` (the program folder when empty) under `fileName`:
// the stored name when empty, the stored name's extension appended when it holds no ".". Returns the
// path written, or "" when the row has no picture (no name, or no bytes).
QString ExtractRecipePicture(qint64 recipeId, const QString& folder, const QString& fileName);
// The same for a row already read by a query that selected PICTURENAME and RECIPEPICTURE.
QString ExtractPictureFromRecordset(const db::Query& row, const QString& folder, const QString& fileName);
// True when a recipe with this title (in its stored form, "$$" for apostrophes) is stored, ignoring
// letter case. False when no cookbook is open or on any error.
bool RecipeTitleExists(const QString& storedTitle);
// The same test leaving out the recipe being amended (`exceptId`); raises AppError when the cookbook
// cannot be read.
bool RecipeTitleTaken(const QString& storedTitle, qint64 exceptId);
// The titles of the open cookbook, read once, for a run that tests many titles (an import): contains()
// answers as RecipeTitleExists does, without a query per title. add() takes in a title the run stored.
class RecipeTitles {
public:
    RecipeTitles(); // reads every title; raises AppError when the cookbook cannot be read
    bool contains(const QString& storedTitle) const;
    void add(const QString& storedTitle);

private:
    QSet<QString> asciiFolded_;          // letter case folded in A-Z only, as the title's collation does
    QSet<QString> unicodeFolded_; // titles beyond ASCII, letter case folded in every character
};
// Unmarks every recipe of the cookbook and unchecks the main window's list (without writing per item).
void ClearAllMarks();
// Stores the mark of the recipe with list key "R" & ID; a row already in that state is not written.
void SetRecipeMark(const QString& listKey, bool marked);
// Makes the recipe a favourite unless it is one already; errors are swallowed.
void AddFavourite(qint64 recipeId);
// The recipe ID of the favourite row, 0 when the row does not exist.
qint64 GetFavouriteRecipeID(qint64 favouriteId);

} // namespace basDatabase
