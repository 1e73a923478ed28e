// The main window's load and close: settings read and written, geometry, bars, the last cookbook.
#include "BrowserFixture.h"

#include "core/DE.h"
#include "core/Settings.h"
#include "core/basMain.h"
#include "support/Keyboard.h"
#include "support/SecondProcess.h"

#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

struct WindowState {
    bool toolbar, statusbar, monitor, cookbookOpen;
};

WindowState stateOf(frmMain& w)
{
    return {!w.findChild<QToolBar*>("cmdBar_1")->isHidden(), !w.statusBar()->isHidden(),
            w.findChild<QTimer*>("tmrClipBoard")->isActive(), !basDatabase::sCurrentCookbook.isEmpty()};
}

bool checked(frmMain& w, const QString& key) { return w.commandButton(key)->isChecked(); }

} // namespace

using FormLoad = BrowserTest;

TEST_F(FormLoad, WithNoSettingsTheWindowComesUpInItsDesignState)
{
    QDir(program.path("temp")).removeRecursively();
    frmMain w;

    EXPECT_EQ(w.windowTitle(), "Tovalquendry - Version " + basMain::versionNumbers() + " (No current Cookbook)");
    EXPECT_TRUE(QDir(program.path("temp")).exists());
    EXPECT_EQ(basMain::sTemplatePath, program.path("templates/default.html"));
    EXPECT_EQ(ReadINI("Options", "HTML Template"), "") << "the default template path is not written back";
    EXPECT_EQ(w.locationName(), "blank.html");
    EXPECT_EQ(w.menuBar()->actions().size(), 5);

    const WindowState s = stateOf(w);
    EXPECT_TRUE(s.toolbar);
    EXPECT_TRUE(s.statusbar);
    EXPECT_FALSE(s.monitor);
    EXPECT_FALSE(s.cookbookOpen);
    EXPECT_TRUE(checked(w, "MENU:VIEW:DISPTOOLBAR"));
    EXPECT_TRUE(checked(w, "MENU:VIEW:DISPSTATUSBAR"));
    EXPECT_FALSE(checked(w, "MENU:CLIP:MONITOR"));
    EXPECT_EQ(w.tvRecipes()->topLevelItemCount(), 0);
    for (int i = 0; i <= 26; ++i)
        EXPECT_FALSE(w.findChild<QToolButton*>(QString("cmdList_%1").arg(i))->isEnabled()) << i;
    EXPECT_EQ(program.errorLog(), "");
}

TEST_F(FormLoad, ReadsSettingsWrittenOnWindows)
{
    const QString cookbook = makeCookbook();
    writeSettings("[Options]\r\n"
                  "Open Last=True\r\n"
                  "Last CookBook=" + cookbook.toUtf8() + "\r\n"
                  "HTML Template=C:\\Program Files\\Tovalquendry\\templates\\mine.html\r\n"
                  "Monitor Clipboard=true\r\n"
                  "[Size]\r\n"
                  "Main Window Left=1500\r\n"
                  "Main Window Top=1200\r\n"
                  "Main Window Height=7500\r\n"
                  "Main Window Width=10500\r\n"
                  "Main Window State=0\r\n"
                  "[View]\r\n"
                  "Toolbar Visible=False\r\n"
                  "Statusbar Visible=1\r\n");
    frmMain w;
    const int dpiX = w.logicalDpiX(), dpiY = w.logicalDpiY();

    EXPECT_EQ(w.pos(), QPoint(1500 * dpiX / 1440, 1200 * dpiY / 1440));
    EXPECT_EQ(w.size(), QSize(10500 * dpiX / 1440, 7500 * dpiY / 1440));
    // A stored template that is missing gives way to the default, which is written back.
    EXPECT_EQ(basMain::sTemplatePath, program.path("templates/default.html"));
    EXPECT_EQ(ReadINI("Options", "HTML Template"), program.path("templates/default.html"));

    const WindowState s = stateOf(w);
    EXPECT_FALSE(s.toolbar) << "older files keep the bar visibility under [View]";
    EXPECT_TRUE(s.statusbar);
    EXPECT_TRUE(s.monitor) << "the monitor setting is read as a Boolean";
    EXPECT_TRUE(s.cookbookOpen);
    EXPECT_FALSE(checked(w, "MENU:VIEW:DISPTOOLBAR"));
    EXPECT_TRUE(checked(w, "MENU:CLIP:MONITOR"));
    EXPECT_EQ(w.windowTitle(), "Tovalquendry - Version " + basMain::versionNumbers() + " (Family.tqc)");
    EXPECT_EQ(w.tvRecipes()->topLevelItemCount(), 5);
    EXPECT_TRUE(w.commandButton("TOOLBAR:ADDRECIPE")->isEnabled());
    EXPECT_TRUE(w.findChild<QToolButton*>("cmdList_26")->isEnabled());
    EXPECT_EQ(program.errorLog(), "");
}

TEST_F(FormLoad, AValueThatIsNoNumberCountsAsAbsentAndTheLoadGoesOn)
{
    const QString cookbook = makeCookbook();
    writeSettings("[Options]\r\nOpen Last=True\r\nLast CookBook=" + cookbook.toUtf8() +
                  "\r\nMonitor Clipboard=maybe\r\n"
                  "[Size]\r\nMain Window Left=abc\r\nMain Window Top=600\r\nMain Window State=wide\r\n"
                  "Horizontal Panel=x\r\nToolbar Visible=perhaps\r\n");
    frmMain w;

    EXPECT_EQ(w.y(), 600 * w.logicalDpiY() / 1440) << "the values that do convert are used";
    EXPECT_EQ(w.windowState(), Qt::WindowNoState);
    EXPECT_EQ(w.menuBar()->actions().size(), 5);
    EXPECT_EQ(basMain::sTemplatePath, program.path("templates/default.html"));
    const WindowState s = stateOf(w);
    EXPECT_TRUE(s.toolbar);
    EXPECT_FALSE(s.monitor);
    EXPECT_TRUE(s.cookbookOpen);
    EXPECT_EQ(program.errorLog(), "");
}

TEST_F(FormLoad, OnlyOpenLastExactlyTrueReopensTheCookbook)
{
    const QString cookbook = makeCookbook();
    for (const char* value : {"true", "TRUE", "1", ""}) {
        writeSettings("[Options]\r\nOpen Last=" + QByteArray(value) + "\r\nLast CookBook=" + cookbook.toUtf8() + "\r\n");
        frmMain w;
        EXPECT_TRUE(basDatabase::sCurrentCookbook.isEmpty()) << value;
        EXPECT_FALSE(w.commandButton("TOOLBAR:SEARCH")->isEnabled()) << value;
    }
    writeSettings("[Options]\r\nOpen Last=True\r\nLast CookBook=Gone.tqc\r\n");
    frmMain w;
    EXPECT_TRUE(basDatabase::sCurrentCookbook.isEmpty());
    EXPECT_EQ(w.tvRecipes()->topLevelItemCount(), 0);
    EXPECT_EQ(program.errorLog(), "") << "a failed reopening is silent";
}

// A last cookbook that exists but cannot be opened is reported once, and the program goes on without one.
TEST_F(FormLoad, ALastCookbookThatCannotBeOpenedIsReportedOnceAndNoneIsOpen)
{
    const QByteArray whole = readBytes(program.path("data/cookbooks/" + makeCookbook()));
    {
        db::Connection other;
        other.create(program.path("data/cookbooks/Notes.tqc"));
        other.exec("CREATE TABLE Notes (Text TEXT)");
    }
    writeBytes(program.path("data/cookbooks/Text.tqc"), "Title: Pie\r\nBake it.\r\n");
    writeBytes(program.path("data/cookbooks/Short.tqc"), whole.left(whole.size() / 2));

    const struct {
        const char* file;
        const char* error;
    } cases[] = {
        {"Text.tqc", "(-26)\r\nfile is not a database\r\n"},
        {"Short.tqc", "(-11)\r\ndatabase disk image is malformed\r\n"},
        {"Notes.tqc", "(-1)\r\nno such table: RECIPES\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QFile::remove(program.path("error.log"));
        recorder.boxes.clear();
        const auto w = openWindow(c.file);

        const QString record = QString(c.error) + "occurred in module frmMain Load\r\n";
        EXPECT_EQ(program.errorLog(), record);
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry Error");
        EXPECT_EQ(recorder.boxes[0].text + "\r\n", record);
        EXPECT_TRUE(basDatabase::sCurrentCookbook.isEmpty());
        EXPECT_FALSE(basDatabase::cnCookbook.isOpen());
        EXPECT_EQ(w->windowTitle(), "Tovalquendry - Version " + basMain::versionNumbers() + " (No current Cookbook)");
        EXPECT_FALSE(w->commandButton("TOOLBAR:SEARCH")->isEnabled());
        EXPECT_EQ(w->tvRecipes()->topLevelItemCount(), 0);
        EXPECT_EQ(ReadINI("Options", "Last CookBook"), c.file) << "left for the user to mend";
    }
}

TEST_F(FormLoad, AWindowOffEveryScreenIsMovedOntoThePrimaryScreenKeepingItsState)
{
    writeSettings("[Size]\r\nMain Window Left=-300000\r\nMain Window Top=500000\r\nMain Window State=2\r\n");
    frmMain w;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.intersects(QRect(w.pos(), w.size())));
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
}

TEST_F(FormLoad, AnExistingTemplateIsKept)
{
    const QString mine = program.path("templates/mine.html");
    QFile::copy(program.path("templates/default.html"), mine);
    writeSettings("[Options]\r\nHTML Template=" + mine.toUtf8() + "\r\n");
    frmMain w;
    EXPECT_EQ(basMain::sTemplatePath, mine);
    EXPECT_EQ(ReadINI("Options", "HTML Template"), mine);
}

TEST_F(FormLoad, TheBlankPageIsNotLoadedAgainWhenShown)
{
    frmMain w;
    auto* page = w.findChild<QTextBrowser*>("wbMain");
    const int history = page->backwardHistoryCount();
    w.showBlankPage();
    EXPECT_EQ(page->backwardHistoryCount(), history);
    EXPECT_EQ(w.locationName(), "blank.html");
}

using FormClose = BrowserTest;

TEST_F(FormClose, WritesTheWindowPlaceBarsAndPanesToSizeAndTheNextLoadRestoresThem)
{
    {
        frmMain w;
        w.move(150, 90);
        w.resize(800, 600);
        w.commandButton("MENU:VIEW:DISPSTATUSBAR")->trigger();
        w.Form_QueryUnload();
    }
    const int dpi = QWidget().logicalDpiX();
    EXPECT_EQ(ReadINI("Size", "Main Window Left"), QString::number(150 * 1440 / dpi));
    EXPECT_EQ(ReadINI("Size", "Main Window Top"), QString::number(90 * 1440 / dpi));
    EXPECT_EQ(ReadINI("Size", "Main Window Width"), QString::number(800 * 1440 / dpi));
    EXPECT_EQ(ReadINI("Size", "Main Window Height"), QString::number(600 * 1440 / dpi));
    EXPECT_EQ(ReadINI("Size", "Main Window State"), "0");
    EXPECT_FALSE(ReadINI("Size", "Horizontal Panel").isEmpty());
    EXPECT_FALSE(ReadINI("Size", "Vertical Panel").isEmpty());
    EXPECT_EQ(ReadINI("Size", "Toolbar Visible"), "True");
    EXPECT_EQ(ReadINI("Size", "Statusbar Visible"), "False");

    WriteINI("View", "Statusbar Visible", "True"); // [Size] wins over an old [View] value
    DE.cn.open(program.path("data/tovalquendry.mdb"));
    frmMain again;
    EXPECT_EQ(again.pos(), QPoint(150, 90));
    EXPECT_EQ(again.size(), QSize(800, 600));
    EXPECT_TRUE(again.statusBar()->isHidden());
    EXPECT_FALSE(again.commandButton("MENU:VIEW:DISPSTATUSBAR")->isChecked());
}

TEST_F(FormClose, AMinimizedWindowStoresStateOneAndItsNormalPlace)
{
    frmMain w;
    w.move(40, 30);
    w.resize(800, 500);
    w.show();
    w.setWindowState(Qt::WindowMinimized);
    w.Form_QueryUnload();
    EXPECT_EQ(ReadINI("Size", "Main Window State"), "1");
    const int frameWidth = w.frameGeometry().width() - w.width(); // the window's place is its outer frame
    EXPECT_EQ(ReadINI("Size", "Main Window Width"), QString::number((800 + frameWidth) * 1440 / w.logicalDpiX()));
}

TEST_F(FormClose, ClearsAllMarksOnlyWhenClearCheckedIsExactlyTrue)
{
    const QString cookbook = makeCookbook();
    for (const char* value : {"true", "True"}) {
        writeSettings("[Options]\r\nOpen Last=True\r\nLast CookBook=" + cookbook.toUtf8() + "\r\nClear Checked=" +
                      QByteArray(value) + "\r\n");
        DE.cn.open(program.path("data/tovalquendry.mdb"));
        frmMain w;
        w.Form_QueryUnload();
        EXPECT_EQ(markOf("Carrot Soup"), QString(value) == "True" ? 0 : 1) << value;
    }
}

// Clearing the marks waits here for another program's write (as clearing 250,000 marks takes seconds):
// meanwhile the window is already gone from the screen, and the marks are cleared before the close ends.
TEST_F(FormClose, WithClearCheckedTheWindowGoesAtOnceAndTheMarksAreClearedBeforeTheEnd)
{
    const QString cookbook = makeCookbook();
    writeSettings("[Options]\r\nOpen Last=True\r\nLast CookBook=" + cookbook.toUtf8() + "\r\nClear Checked=True\r\n");
    const int savedTimeout = db::busyTimeout();
    db::setBusyTimeout(60000);
    frmMain w;
    w.show();
    ASSERT_EQ(basDatabase::sCurrentCookbook, cookbook);
    auto other = std::make_unique<SecondProcess>(QStringList{"hold", program.path("data/cookbooks/Family.tqc")});
    ASSERT_EQ(other->readLine(), "held");

    int ticks = 0;
    bool shownDuringClearing = false;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        shownDuringClearing = shownDuringClearing || w.isVisible();
        if (++ticks == 3)
            other.reset(); // the other program's write ends; the clearing goes on
    });
    ticker.start(10);
    w.close();
    ticker.stop();
    db::setBusyTimeout(savedTimeout);

    EXPECT_GE(ticks, 3) << "the event loop ran while the marks were cleared";
    EXPECT_FALSE(shownDuringClearing);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(markOf("Carrot Soup"), 0);
    EXPECT_EQ(program.errorLog(), "");
}

TEST_F(FormClose, ClosingTheShownWindowShutsDownOnceAndNoCookbookIsNeededForClearChecked)
{
    writeSettings("[Options]\r\nClear Checked=True\r\n");
    frmMain w;
    w.show();
    ASSERT_TRUE(w.isVisible());
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(DE.cn.isOpen()) << "the close shuts the program down";
    EXPECT_EQ(ReadINI("Size", "Main Window State"), "0");
    EXPECT_EQ(program.errorLog(), "") << "clearing marks without a cookbook fails quietly";
}

TEST_F(FormClose, TheStopTimerShutsDownOnlyWhenExitWasAsked)
{
    frmMain w;
    w.show();
    w.tmrStop_Timer();
    EXPECT_TRUE(w.isVisible());
    w.cmdBar_ButtonClick(w.commandButton("MENU:FILE:EXIT"));
    EXPECT_TRUE(w.isVisible()) << "Exit only asks";
    EXPECT_TRUE(basMain::bShutdownPending);
    w.tmrStop_Timer();
    EXPECT_FALSE(w.isVisible());
}

using Splitters = BrowserTest;

TEST_F(Splitters, ADroppedBarStaysInsideTheWindowAndSurvivesARestart)
{
    auto twips = [](int px, const QWidget& w) { return QString::number(qRound(px * 1440.0 / w.logicalDpiX())); };
    {
        frmMain w;
        w.resize(900, 640);
        w.show();
        auto* vsplit = w.findChild<QSplitter*>("imgVSplit");
        const int left = vsplit->mapTo(&w, QPoint()).x();

        w.imgVSplit_MouseUp(2);
        EXPECT_EQ(ReadINI("Size", "Vertical Splitter"), "1300");
        EXPECT_NEAR(left + w.tvRecipes()->width(), 1300 * w.logicalDpiX() / 1440, 1);

        w.imgVSplit_MouseUp(2000);
        EXPECT_EQ(ReadINI("Size", "Vertical Splitter").toInt(), twips(w.frameGeometry().width(), w).toInt() - 1300)
            << "the vertical limit is the outer width";

        w.imgVSplit_MouseUp(300 - left);
        EXPECT_EQ(ReadINI("Size", "Vertical Splitter"), twips(300, w));
        EXPECT_EQ(left + w.tvRecipes()->width(), 300);

        auto* hsplit = w.findChild<QSplitter*>("imgHSplit");
        const int top = hsplit->mapTo(&w, QPoint()).y();
        w.imgHSplit_MouseUp(5000);
        EXPECT_EQ(ReadINI("Size", "Horizontal Splitter").toInt(),
                  qRound(w.height() * 1440.0 / w.logicalDpiY()) - 1300);
        w.imgHSplit_MouseUp(320 - top);
        EXPECT_EQ(top + w.lstVRecipes()->view()->height(), 320);
    }
    DE.cn.open(program.path("data/tovalquendry.mdb"));
    frmMain again;
    again.resize(900, 640);
    again.show();
    const int left = again.findChild<QSplitter*>("imgVSplit")->mapTo(&again, QPoint()).x();
    EXPECT_EQ(left + again.tvRecipes()->width(), 300);
    EXPECT_EQ(again.findChild<QSplitter*>("imgHSplit")->mapTo(&again, QPoint()).y() + again.lstVRecipes()->view()->height(),
              320);
}

TEST_F(Splitters, StoredPositionsAreReadLenientlyAndClamped)
{
    writeSettings("[Size]\r\nVertical Splitter=abc\r\nHorizontal Splitter=99999999\r\n");
    frmMain w;
    w.resize(900, 640);
    w.show();
    const int left = w.findChild<QSplitter*>("imgVSplit")->mapTo(&w, QPoint()).x();
    EXPECT_NEAR(left + w.tvRecipes()->width(), 1300 * w.logicalDpiX() / 1440, 1);
    const int top = w.findChild<QSplitter*>("imgHSplit")->mapTo(&w, QPoint()).y();
    EXPECT_NEAR(top + w.lstVRecipes()->view()->height(), w.height() - 1300 * w.logicalDpiY() / 1440, 1);
}

// Exit ends the program as soon as its menu has closed, as the close box does, not at the stop timer's
// next tick.
TEST_F(FormClose, ExitClosesOnceTheMenuHasClosed)
{
    frmMain w;
    keyboard::showActive(w);
    w.commandButton("MENU:FILE:EXIT")->trigger();
    EXPECT_TRUE(basMain::bShutdownPending);
    QCoreApplication::processEvents(); // what is posted runs; no timer is waited for
    EXPECT_FALSE(w.isVisible());
}
