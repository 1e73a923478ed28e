// Commands that must answer the user whatever the desktop offers: the Import/Export button's menu from its
// main part, and the help page without a program to open it.
#include "BrowserFixture.h"

#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using MenuCommands = BrowserTest;

TEST_F(MenuCommands, TheMainPartOfImportExportOpensItsMenu)
{
    auto w = openWindow(makeCookbook());
    w->show();
    QApplication::processEvents();
    auto* toolbar = w->findChild<QToolBar*>("cmdBar_1");
    auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(w->commandButton("TOOLBAR:IMPORT")));
    ASSERT_TRUE(button && button->isEnabled());

    QStringList shown;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                shown << a->text();
            menu->close();
        }
    });
    // A click well left of the arrow, on the picture and caption.
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
    EXPECT_EQ(shown, QStringList({"&Import From File", "&Export to file"}));
}

TEST_F(MenuCommands, HelpContentsWithoutAProgramToOpenItSaysSo)
{
    frmMain w;
    recorder.desktopOpens = false;
    w.cmdBar_ButtonClick(w.commandButton("MENU:HELP:CONTENTS"));
    ASSERT_EQ(recorder.opened.size(), 1);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.startsWith("No program could be found to open the help page"));
    EXPECT_TRUE(recorder.boxes[0].text.contains("index.html"));

    // With a program to open it, nothing more is said.
    recorder.desktopOpens = true;
    w.cmdBar_ButtonClick(w.commandButton("MENU:HELP:CONTENTS"));
    EXPECT_EQ(recorder.boxes.size(), 1);
}
