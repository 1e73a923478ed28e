#include "support/ScratchProgram.h"
#include "support/ShownWindows.h"
#include "support/TestFiles.h"
#include "support/UiRecorder.h"
#include "core/DE.h"
#include "core/basDatabase.h"
#include "core/MainWindow.h"
#include "core/basMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {
// A main window as small as start-up needs: it calls ShutDown from its close handler, as the real one does.
class TestMainWindow : public QWidget, public NullMainWindow {
public:
    QWidget* widget() override { return this; }
    void setCaption(const QString& caption) override { setWindowTitle(caption); }
    QString caption() const override { return windowTitle(); }

    int closes = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closes;
        basMain::ShutDown();
        event->accept();
    }
};
} // namespace

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        basMain::setStartupWindows({
            [this] {
                ++splashes;
                splash = new QWidget;
                splash->setWindowTitle("splash");
                return splash.data();
            },
            [this] {
                splashShownBeforeMainWindow = splash && splash->isVisible();
                databaseOpenForMainWindow = DE.cn.isOpen();
                mainWindow = std::make_unique<TestMainWindow>();
                return mainWindow.get();
            },
        });
    }
    void TearDown() override
    {
        basMain::ShutDown();
        delete splash;
        basMain::setStartupWindows({});
    }
    QString databasePath() const { return program.path("data/tovalquendry.mdb"); }
    void writeSettings(const QByteArray& bytes) { writeBytes(program.path("TQSettings.ini"), bytes); }
    // Start-up failed the way it must: one record under "subroutine Main", shown in the error box, no
    // window left, no database open.
    void expectFailedStart(bool started)
    {
        EXPECT_FALSE(started);
        const QList<QByteArray> lines = readBytes(program.path("error.log")).split('\n');
        ASSERT_EQ(lines.size(), 4) << readBytes(program.path("error.log")).constData();
        EXPECT_TRUE(lines[0].startsWith('(') && lines[0].endsWith(")\r"));
        EXPECT_EQ(lines[2], "occurred in module subroutine Main\r");
        EXPECT_EQ(lines[3], "");
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry Error");
        EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Exclamation);
        EXPECT_EQ(mainWindow, nullptr) << "the main window was created";
        EXPECT_EQ(shownWindows(), QList<QWidget*>());
        EXPECT_FALSE(DE.cn.isOpen());
    }

    ScratchProgram program{false};
    UiRecorder recorder;
    int splashes = 0;
    QPointer<QWidget> splash;
    std::unique_ptr<TestMainWindow> mainWindow;
    bool splashShownBeforeMainWindow = false;
    bool databaseOpenForMainWindow = false;
};

TEST_F(Startup, AMissingDatabaseIsLoggedAndNothingIsCreated)
{
    ASSERT_TRUE(QFile::remove(databasePath()));
    expectFailedStart(basMain::Main());
    EXPECT_FALSE(QFile::exists(databasePath()));
    EXPECT_EQ(QDir(program.path("data")).entryList(QDir::Files), QStringList{"blank.html"});
    EXPECT_EQ(splashes, 1);
    EXPECT_TRUE(splash.isNull()) << "the splash outlived a failed start";
}

TEST_F(Startup, ADamagedDatabaseIsLoggedAndLeftUntouched)
{
    const QByteArray damaged = readBytes(databasePath()).left(3000);
    ASSERT_FALSE(damaged.isEmpty());
    writeBytes(databasePath(), damaged);
    expectFailedStart(basMain::Main());
    EXPECT_EQ(readBytes(databasePath()), damaged);
    EXPECT_EQ(QDir(program.path("data")).entryList(QDir::Files), (QStringList{"blank.html", "tovalquendry.mdb"}));
}

TEST_F(Startup, AFileThatIsNoDatabaseIsLogged)
{
    writeBytes(databasePath(), "Standard Jet DB, or so it says");
    expectFailedStart(basMain::Main());
    EXPECT_EQ(readBytes(databasePath()), QByteArray("Standard Jet DB, or so it says"));
}

TEST_F(Startup, AForeignDatabaseIsRefused)
{
    const struct {
        const char* what;
        std::function<void(const QString&)> make;
        const char* cause;
    } cases[] = {
        {"an empty database", [](const QString& path) {
             QFile::remove(path);
             db::Connection cn;
             cn.create(path);
             cn.exec("PRAGMA user_version = 7");
         }, "no such table: CATEGORY"},
        {"a cookbook copied over it", [](const QString& path) {
             QFile::remove(path);
             db::Connection cn;
             cn.create(path);
             for (const QString& table : basDatabase::CookbookSchema())
                 cn.exec(table);
         }, "no such table: CATEGORY"},
        {"a list without its column", [](const QString& path) {
             db::Connection cn;
             cn.open(path);
             cn.exec("DROP TABLE CONTACTS; CREATE TABLE CONTACTS (ID INTEGER PRIMARY KEY, NAME TEXT)");
         }, "no such column: CONTACTNAME"},
    };
    const QByteArray shipped = readBytes(databasePath());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(databasePath(), shipped);
        c.make(databasePath());
        QFile::remove(program.path("error.log"));
        recorder.boxes.clear();
        mainWindow.reset();
        const QByteArray before = readBytes(databasePath());
        expectFailedStart(basMain::Main());
        EXPECT_TRUE(readBytes(program.path("error.log")).contains(c.cause)) << readBytes(program.path("error.log")).constData();
        EXPECT_EQ(readBytes(databasePath()), before);
    }
}

TEST_F(Startup, OnlyExactlyFalseSuppressesTheSplash)
{
    struct Case {
        const char* settings; // nullptr: no settings file
        bool splash;
    };
    const Case cases[] = {
        {nullptr, true},
        {"[Options]\r\nDisplay Splash Screen=False\r\n", false},
        {"[options]\r\ndisplay splash screen = False\r\n", false},
        {"[Options]\r\nDisplay Splash Screen=false\r\n", true},
        {"[Options]\r\nDisplay Splash Screen=FALSE\r\n", true},
        {"[Options]\r\nDisplay Splash Screen=True\r\n", true},
        {"[Options]\r\nDisplay Splash Screen=\r\n", true},
        {"[Options]\r\nDisplay Splash Screen=0\r\n", true},
        {"[Size]\r\nDisplay Splash Screen=False\r\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings ? c.settings : "no settings file");
        QFile::remove(program.path("TQSettings.ini"));
        if (c.settings)
            writeSettings(c.settings);
        splashes = 0;
        mainWindow.reset();

        ASSERT_TRUE(basMain::Main());
        EXPECT_EQ(splashes, c.splash ? 1 : 0);
        EXPECT_EQ(splashShownBeforeMainWindow, c.splash);
        EXPECT_TRUE(databaseOpenForMainWindow);
        EXPECT_TRUE(splash.isNull()) << "the splash stays after start-up";
        ASSERT_NE(mainWindow, nullptr);
        EXPECT_TRUE(mainWindow->isVisible());
        EXPECT_TRUE(DE.cn.isOpen());
        EXPECT_TRUE(recorder.boxes.isEmpty());

        basMain::ShutDown();
        EXPECT_FALSE(mainWindow->isVisible());
        EXPECT_FALSE(DE.cn.isOpen());
    }
    EXPECT_FALSE(QFile::exists(program.path("error.log")));
}

TEST_F(Startup, ShutDownClosesEveryWindowEvenWhenEnteredAgain)
{
    ASSERT_TRUE(basMain::Main());
    EXPECT_TRUE(databaseOpenForMainWindow);
    QWidget dialog;
    dialog.show();
    // A second window that deletes a third while it closes.
    auto* third = new QWidget;
    third->show();
    struct Closer : QWidget {
        QWidget* victim = nullptr;
        void closeEvent(QCloseEvent* e) override
        {
            delete victim;
            e->accept();
        }
    } closer;
    closer.victim = third;
    closer.show();

    basMain::ShutDown();
    EXPECT_EQ(mainWindow->closes, 1);
    EXPECT_EQ(shownWindows(), QList<QWidget*>());
    EXPECT_FALSE(DE.cn.isOpen());
    basMain::ShutDown(); // once more: nothing left to do, nothing fails
    EXPECT_EQ(mainWindow->closes, 1);
}

TEST_F(Startup, ClosingTheMainWindowShutsDown)
{
    ASSERT_TRUE(basMain::Main());
    QWidget other;
    other.show();
    mainWindow->close();
    EXPECT_EQ(shownWindows(), QList<QWidget*>());
    EXPECT_FALSE(DE.cn.isOpen());
}
