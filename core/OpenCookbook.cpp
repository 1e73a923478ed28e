// The one open cookbook.
#include "core/basDatabase.h"

#include "core/CookbookLock.h"
#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "core/Settings.h"
#include "core/basMain.h"

namespace basDatabase {
namespace {
// This instance's share of the open cookbook, held from before its connection opens until after it closed.
paths::LockFile openCookbookLock;
} // namespace

bool OpenCookbook(const QString& fileName)
{
    if (fileName.isEmpty())
        return false;
    CloseCookbook();

    // A name with a folder part ("../x.tqc" in the settings file) would lead out of the cookbooks folder.
    if (!IsCookbookFileName(fileName))
        return false;
    const QString path = CookbookPath(fileName);
    if (!FileExists(path))
        return false;

    QString caption;
    try {
        openCookbookLock = ShareCookbook(path);
        if (!FileExists(path)) { // deleted by another window while this one waited
            openCookbookLock.release();
            return false;
        }
        cnCookbook.open(path);
        // A file that is not a cookbook (another database, a damaged file) is refused here.
        for (const char* table : {"RECIPES", "INGREDIENTS", "IDENTIFIER", "FAVOURITES"})
            db::Query(cnCookbook, QString("SELECT * FROM %1 LIMIT 0").arg(table)).next();

        db::Query identifier(cnCookbook, "SELECT NAME FROM IDENTIFIER ORDER BY ID LIMIT 1");
        caption = basMain::captionPrefix();
        if (identifier.next())
            caption += " Cookbook : " + identifier.text("NAME");
        caption += " (" + fileName + ")";
    } catch (...) {
        // A file that cannot be opened is the caller's to report, as every failure of the store is.
        cnCookbook.close();
        openCookbookLock.release();
        throw;
    }

    basMain::mainWindow().setCaption(caption);
    sCurrentCookbook = fileName;
    WriteINI("Options", "Last CookBook", fileName);
    return true;
}

bool OpenCookbookHasMoved() { return cnCookbook.isOpen() && cnCookbook.fileHasMoved(); }

bool ReopenMovedCookbook()
{
    const QString fileName = sCurrentCookbook;
    if (fileName.isEmpty() || !FileExists(CookbookPath(fileName)))
        return false;
    try {
        if (!OpenCookbook(fileName))
            return false;
    } catch (...) {
        return false;
    }
    basMain::mainWindow().EnableToolBarButtons();
    basMain::mainWindow().RefreshViews();
    return true;
}

void CloseCookbook()
{
    cnCookbook.close();
    openCookbookLock.release();
    if (!sCurrentCookbook.isEmpty()) {
        basMain::mainWindow().ResetScreen();
        sCurrentCookbook.clear();
    }
}

} // namespace basDatabase
