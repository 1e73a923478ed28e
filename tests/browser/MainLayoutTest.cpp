// The main window's frame on screen: bars above the banner after every layout, the banner's label and
// letter buttons, the window's place as its outer frame.
#include "BrowserFixture.h"

#include "browser/MainBanner.h"
#include "core/Settings.h"

#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// The bars stand in order: menu bar at the top, toolbar directly under it, then the banner.
void expectBarsInOrder(frmMain& w, const char* when)
{
    const QRect menu = w.menuBar()->geometry();
    const QRect tools = w.findChild<QToolBar*>("cmdBar_1")->geometry();
    const QWidget* banner = w.findChild<QWidget*>("imgDisplay");
    const int bannerTop = banner->mapTo(&w, QPoint()).y();
    EXPECT_EQ(menu.top(), 0) << when;
    EXPECT_GT(menu.height(), 0) << when;
    EXPECT_EQ(tools.top(), menu.bottom() + 1) << when;
    EXPECT_GE(bannerTop, tools.bottom() + 1) << when;
}

int twipsX(int px, const QWidget& w) { return qRound(px * 1440.0 / w.logicalDpiX()); }

} // namespace

using MainLayout = BrowserTest;

TEST_F(MainLayout, TheMenuBarStaysAboveTheToolbarAndBannerAfterEveryLayout)
{
    frmMain w;
    w.resize(960, 680);
    w.show();
    expectBarsInOrder(w, "first show");
    w.imgVSplit_MouseUp(250);
    expectBarsInOrder(w, "vertical splitter dropped");
    w.imgHSplit_MouseUp(200);
    expectBarsInOrder(w, "horizontal splitter dropped");
    w.cmdBar_ButtonClick(w.commandButton("MENU:VIEW:DISPTOOLBAR"));
    w.cmdBar_ButtonClick(w.commandButton("MENU:VIEW:DISPTOOLBAR"));
    expectBarsInOrder(w, "toolbar hidden and shown");
    w.imgVSplit_MouseUp(300);
    expectBarsInOrder(w, "vertical splitter dropped again");
}

TEST_F(MainLayout, ALongBannerIsCutAndNeverWidensTheWindowOrMovesTheLetters)
{
    frmMain w;
    w.resize(960, 680);
    w.show();
    auto* banner = w.findChild<MainBanner*>("imgDisplay");
    ASSERT_NE(banner, nullptr);
    const QList<QToolButton*>& letters = banner->buttons();
    ASSERT_EQ(letters.size(), 27);
    auto placesOf = [&] {
        QList<QRect> out;
        for (const QToolButton* b : letters)
            out << b->geometry();
        return out;
    };
    const QList<QRect> before = placesOf();

    const QString text = "Browsing by Country of Origin : South Georgia and the South Sandwich Islands, "
                         "a very long name indeed";
    banner->label()->setText(text);
    QApplication::processEvents();
    w.imgVSplit_MouseUp(260);
    EXPECT_EQ(w.width(), 960);
    EXPECT_EQ(placesOf(), before) << "the letters do not move with the text";
    EXPECT_EQ(banner->label()->text(), text);
    EXPECT_TRUE(banner->label()->shownText().endsWith(QChar(0x2026))) << banner->label()->shownText().toStdString();
    EXPECT_LE(banner->label()->fontMetrics().horizontalAdvance(banner->label()->shownText()), letters[0]->x());

    // The label spans the banner; the letters keep their own widths, touch, and end 120 twips from the right.
    EXPECT_EQ(banner->label()->geometry(), banner->rect());
    for (qsizetype i = 0; i < letters.size(); ++i) {
        EXPECT_EQ(letters[i]->width(), letters[i]->sizeHint().width()) << i;
        EXPECT_EQ(letters[i]->height(), banner->height()) << i;
        if (i + 1 < letters.size())
            EXPECT_EQ(letters[i]->geometry().right() + 1, letters[i + 1]->x()) << i;
    }
    const int gap = banner->width() - letters.last()->geometry().right() - 1;
    EXPECT_NEAR(twipsX(gap, w), 120, 15);

    // A short text shows whole; resizing keeps the letters right-aligned.
    banner->label()->setText("Browsing by All Recipes");
    EXPECT_EQ(banner->label()->shownText(), "Browsing by All Recipes");
    w.resize(1100, 680);
    QApplication::processEvents();
    EXPECT_EQ(banner->width() - letters.last()->geometry().right() - 1, gap);
    EXPECT_EQ(letters.last()->x(), before.last().x() + 140);

    // The window does not get so narrow that a letter falls off the banner's left edge.
    w.resize(300, 680);
    QApplication::processEvents();
    EXPECT_GE(letters.first()->x(), 0);
}

TEST_F(MainLayout, TheWindowPlaceIsItsOuterFrameAndTheVerticalLimitItsOuterWidth)
{
    {
        frmMain w;
        w.move(100, 80);
        w.resize(900, 640);
        w.show();
        const QRect outer = w.frameGeometry();
        w.imgVSplit_MouseUp(5000);
        EXPECT_EQ(ReadINI("Size", "Vertical Splitter").toInt(), twipsX(outer.width(), w) - 1300);
        w.Form_QueryUnload();
        EXPECT_EQ(ReadINI("Size", "Main Window Left").toInt(), twipsX(outer.x(), w));
        EXPECT_EQ(ReadINI("Size", "Main Window Top").toInt(), qRound(outer.y() * 1440.0 / w.logicalDpiY()));
        EXPECT_EQ(ReadINI("Size", "Main Window Width").toInt(), twipsX(outer.width(), w));
        EXPECT_EQ(ReadINI("Size", "Main Window Height").toInt(), qRound(outer.height() * 1440.0 / w.logicalDpiY()));
    }
    // Settings written elsewhere name the outer frame: the shown window's frame takes exactly that place.
    writeSettings("[Size]\r\nMain Window Left=1500\r\nMain Window Top=1200\r\nMain Window Width=12000\r\n"
                  "Main Window Height=9000\r\n");
    DE.cn.open(program.path("data/tovalquendry.mdb"));
    frmMain again;
    again.show();
    QApplication::processEvents();
    const int dpi = again.logicalDpiX();
    EXPECT_EQ(again.frameGeometry(), QRect(1500 * dpi / 1440, 1200 * dpi / 1440, 12000 * dpi / 1440, 9000 * dpi / 1440));
}

TEST_F(MainLayout, AWindowClosedMaximisedComesBackExactlyWhereItWas)
{
    const QByteArray stored = "[Size]\r\nMain Window Left=1500\r\nMain Window Top=1200\r\nMain Window Width=12000\r\n"
                              "Main Window Height=9000\r\nMain Window State=2\r\n";
    writeSettings(stored);
    for (int round = 0; round < 3; ++round) {
        frmMain w;
        w.show();
        QApplication::processEvents();
        ASSERT_TRUE(w.windowState() & Qt::WindowMaximized);
        w.Form_QueryUnload();
        EXPECT_EQ(ReadINI("Size", "Main Window Left"), "1500") << "round " << round;
        EXPECT_EQ(ReadINI("Size", "Main Window Top"), "1200") << "round " << round;
        EXPECT_EQ(ReadINI("Size", "Main Window Width"), "12000") << "round " << round;
        EXPECT_EQ(ReadINI("Size", "Main Window Height"), "9000") << "round " << round;
        EXPECT_EQ(ReadINI("Size", "Main Window State"), "2") << "round " << round;
        DE.cn.open(program.path("data/tovalquendry.mdb"));
    }
}
