// The main window's exchange commands: the import and export dialogs open modally from the
// Import/Export drop-down, and the clipboard monitor captures only while it is switched on.
#include "BrowserFixture.h"

#include "core/Settings.h"
#include "support/TestQueries.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

class ExchangeCommands : public BrowserTest {
protected:
    void TearDown() override { QGuiApplication::clipboard()->clear(); }
    static QString recipeText(const QString& title)
    {
        return "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n\r\n      Title: " + title +
               "\r\n Categories: Desserts\r\n      Yield: 4\r\n\r\n      1 c  sugar\r\n\r\n  Stir.\r\n\r\nMMMMM\r\n";
    }
    static qint64 stored(const QString& title)
    {
        return scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM RECIPES WHERE TITLE=?1", {title});
    }
};

TEST_F(ExchangeCommands, ImportAndExportOpenModally)
{
    auto w = openWindow(makeCookbook());
    for (const char* key : {"SUB:IMPORT", "SUB:EXPORT"}) {
        QString opened;
        whenModalOpens([&](QWidget* dialog) {
            opened = dialog->objectName();
            dialog->close();
        });
        w->commandButton(key)->trigger();
        EXPECT_EQ(opened, QString(key) == "SUB:IMPORT" ? "frmImport" : "frmExport");
    }
}

TEST_F(ExchangeCommands, TheMonitorCapturesOnlyWhileOnAndACookbookIsOpen)
{
    auto w = openWindow(makeCookbook());
    auto* timer = w->findChild<QTimer*>("tmrClipBoard");
    EXPECT_FALSE(timer->isActive()) << "off when nothing is stored";

    QGuiApplication::clipboard()->setText(recipeText("Clipped Pie"));
    w->commandButton("MENU:CLIP:MONITOR")->trigger();
    ASSERT_TRUE(timer->isActive());
    w->tmrClipBoard_Timer();
    EXPECT_EQ(stored("Clipped Pie"), 1);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_NE(root(w->tvRecipes(), "Recipes"), nullptr) << "the tree is rebuilt";

    // Switched off, the timer no longer runs, so copied text stays where it is.
    w->commandButton("MENU:CLIP:MONITOR")->trigger();
    EXPECT_FALSE(timer->isActive());

    // Without a cookbook a tick does nothing, not even look.
    basDatabase::CloseCookbook();
    QGuiApplication::clipboard()->setText(recipeText("Homeless Pie"));
    w->tmrClipBoard_Timer();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), recipeText("Homeless Pie"));
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

} // namespace
