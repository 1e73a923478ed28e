#include "browser/ProgramWindows.h"
#include "core/DE.h"
#include "support/ScratchProgram.h"
#include "support/ShownWindows.h"
#include "support/UiRecorder.h"

#include <QApplication>
#include <QFile>
#include <QWidget>
#include <gtest/gtest.h>

TEST(ProgramStart, SplashThenTheMainWindowAndClosingItEndsTheProgram)
{
    ScratchProgram program(false);
    UiRecorder recorder;
    basMain::setStartupWindows(programStartupWindows());

    ASSERT_TRUE(basMain::Main());
    const QWidgetList shown = shownWindows();
    ASSERT_EQ(shown.size(), 1);
    QWidget* main = shown.first();
    EXPECT_EQ(main->objectName(), "frmMain");
    EXPECT_EQ(main->windowTitle(), "Tovalquendry - Version 1.0.0 (No current Cookbook)");
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_NE(w->objectName(), "frmSplash") << "the splash outlived start-up";
    EXPECT_TRUE(DE.cn.isOpen());

    main->close();
    EXPECT_TRUE(shownWindows().isEmpty());
    EXPECT_FALSE(DE.cn.isOpen());
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_FALSE(QFile::exists(program.path("error.log")));
    delete main;
    basMain::setStartupWindows({});
}

TEST(ProgramStart, WithoutItsDatabaseNoWindowIsLeft)
{
    ScratchProgram program(false);
    UiRecorder recorder;
    ASSERT_TRUE(QFile::remove(program.path("data/tovalquendry.mdb")));
    basMain::setStartupWindows(programStartupWindows());

    EXPECT_FALSE(basMain::Main());
    EXPECT_TRUE(shownWindows().isEmpty());
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry Error");
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module subroutine Main"));
    basMain::setStartupWindows({});
}
