// Shared operations on single rows of the open cookbook.
#include "core/basDatabase.h"

#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "core/RecipeListItems.h"
#include "core/basMain.h"
#include "platform/db/UnicodeLike.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/Codec.h"
#include "platform/text/LineFile.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalBlocker>
#include <algorithm>

namespace basDatabase {
namespace {
QString asciiFolded(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return out;
}

QString unicodeFolded(const QString& s) { return text::caseBlind(s); }
} // namespace

void SavePictureToRecipe(qint64 recipeId, const QString& picturePath)
{
    const QByteArray bytes = text::readAllBytes(picturePath);
    if (bytes.isEmpty())
        return;
    db::Query(cnCookbook, "UPDATE RECIPES SET PICTURENAME=?1, RECIPEPICTURE=?2 WHERE ID=?3",
              {paths::nameFromData(picturePath), bytes, recipeId})
        .exec();
    if (cnCookbook.changes() == 0)
        throw AppError(3021, "Either BOF or EOF is True, or the current record has been deleted. "
                             "Requested operation requires a current record.");
}

QString ExtractPictureFromRecordset(const db::Query& row, const QString& folder, const QString& fileName)
{
    const QString stored = paths::nameFromData(row.text("PICTURENAME"));
    const QByteArray bytes = row.value("RECIPEPICTURE").toByteArray();
    if (stored.isEmpty() || bytes.isEmpty())
        return {};

    QString name = paths::nameFromData(fileName);
    if (name.isEmpty())
        name = stored;
    else if (!name.contains('.'))
        name += paths::extensionOf(stored);

    const QString dir = folder.isEmpty() ? paths::programFolder() : paths::resolveAbsolute(folder);
    const QString out = QDir(dir).filePath(name);
    text::writeAllBytes(out, bytes);
    return out;
}

QString ExtractRecipePicture(qint64 recipeId, const QString& folder, const QString& fileName)
{
    db::Query row(cnCookbook, "SELECT PICTURENAME, RECIPEPICTURE FROM RECIPES WHERE ID=?1", {recipeId});
    if (!row.next())
        return {};
    return ExtractPictureFromRecordset(row, folder, fileName);
}

bool RecipeTitleTaken(const QString& storedTitle, qint64 exceptId)
{
    // The title's own collation ignores ASCII letter case and can use the title index; other letters
    // (é, Ü, and ı or ß against a title in plain capitals) need the connection's folding LIKE, which reads
    // every title. That LIKE is blind to accents as well ("Äpple" finds "Apple"), so what it finds is
    // checked for letter case only.
    if (db::Query(cnCookbook, "SELECT 1 FROM RECIPES WHERE TITLE=?1 AND ID<>?2 LIMIT 1", db::Query::Cached{},
                  {storedTitle, exceptId})
            .next())
        return true;
    const QString folded = unicodeFolded(storedTitle);
    db::Query alike(cnCookbook, "SELECT TITLE FROM RECIPES WHERE TITLE LIKE ?1 ESCAPE '\\' AND ID<>?2",
                    {db::likeLiteral(storedTitle), exceptId});
    while (alike.next())
        if (unicodeFolded(alike.text("TITLE")) == folded)
            return true;
    return false;
}

bool RecipeTitleExists(const QString& storedTitle)
{
    try {
        return RecipeTitleTaken(storedTitle, 0); // no recipe has the ID 0
    } catch (const AppError&) {
        return false;
    }
}

RecipeTitles::RecipeTitles()
{
    db::Query q(cnCookbook, "SELECT TITLE FROM RECIPES");
    while (q.next())
        add(q.text("TITLE"));
}

void RecipeTitles::add(const QString& storedTitle)
{
    asciiFolded_.insert(asciiFolded(storedTitle));
    if (!text::isAscii(storedTitle)) // an ASCII title folds the same either way: asciiFolded_ holds it
        unicodeFolded_.insert(unicodeFolded(storedTitle));
}

bool RecipeTitles::contains(const QString& storedTitle) const
{
    // The same two tests as RecipeTitleExists: the title's own collation, then letter case folded in every
    // character (an ASCII title may equal one beyond ASCII: "IRMIK" and "ırmik", "STRASSE" and "Straße").
    const QString ascii = asciiFolded(storedTitle);
    if (asciiFolded_.contains(ascii))
        return true;
    if (text::isAscii(storedTitle))
        return unicodeFolded_.contains(ascii);
    const QString folded = unicodeFolded(storedTitle);
    return unicodeFolded_.contains(folded) || asciiFolded_.contains(folded);
}

void ClearAllMarks()
{
    ui::WaitCursor wait;
    // Every row holding a mark is written again, pictures and all: with many marked recipes that takes
    // seconds, so the statement runs off the window's thread while the window repaints (taking no input).
    runOffThread(
        [] {
            // The write lock first, so that another instance's write is waited for, not failed at once.
            db::Transaction transaction(cnCookbook, db::Transaction::OnScopeExit::Rollback,
                                        db::Transaction::Lock::Immediate);
            db::Query(cnCookbook, "UPDATE RECIPES SET MARK=0 WHERE MARK IS NOT 0").exec();
            transaction.commit();
        },
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });

    // The cookbook is cleared already: the boxes show it without a write of their own.
    if (RecipeList* list = basMain::mainWindow().lstVRecipes())
        list->showMarks([](const RecipeRow&) { return false; });
}

void SetRecipeMark(const QString& listKey, bool marked)
{
    db::Query(cnCookbook, "UPDATE RECIPES SET MARK=?1 WHERE ID=?2 AND MARK IS NOT ?1",
              {marked ? 1 : 0, recipelist::idOf(listKey)})
        .exec();
}

void AddFavourite(qint64 recipeId)
{
    try {
        db::Query(cnCookbook,
                  "INSERT INTO FAVOURITES (RECIPEID) SELECT ?1 WHERE NOT EXISTS "
                  "(SELECT 1 FROM FAVOURITES WHERE RECIPEID=?1)",
                  {recipeId})
            .exec();
    } catch (const AppError&) {
    }
}

qint64 GetFavouriteRecipeID(qint64 favouriteId)
{
    db::Query q(cnCookbook, "SELECT RECIPEID FROM FAVOURITES WHERE ID = ?1", {favouriteId});
    return q.next() ? q.value("RECIPEID").toLongLong() : 0;
}

} // namespace basDatabase
