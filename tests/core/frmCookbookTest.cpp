#include "core/frmCookbook.h"

#include "core/frmEditCookbook.h"
#include "CookbookManagerSupport.h"
#include "core/CookbookLock.h"
#include "support/ScratchProgram.h"
#include "support/SecondProcess.h"
#include "support/TestQueries.h"
#include "support/UiRecorder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class CookbookManager : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(savedLocale); }

    QListWidgetItem* find(frmCookbook& dlg, const QString& file)
    {
        for (int i = 0; i < dlg.lstvCookbooks->count(); ++i)
            if (dlg.lstvCookbooks->item(i)->data(frmCookbook::FileRole).toString() == file)
                return dlg.lstvCookbooks->item(i);
        return nullptr;
    }
    void select(frmCookbook& dlg, const QString& file)
    {
        QListWidgetItem* item = find(dlg, file);
        ASSERT_NE(item, nullptr) << file.toStdString();
        dlg.lstvCookbooks->setCurrentItem(item);
    }
    QString cookbook(const QString& file) const { return program.path("data/cookbooks/" + file); }
    qint64 recipeCount(const QString& file) const { return frmCookbook::GetCookbookInfo(cookbook(file)).count; }

    ScratchProgram program;
    UiRecorder recorder;
    RecordingWindow window;
    QLocale savedLocale;
};

TEST_F(CookbookManager, ListsEveryCookbookWithNameDescriptionAndGroupedCount)
{
    MakeCookbook("Family.tqc", "Family", "Sunday ## dinners", 1234);
    MakeCookbook("Error.tqc", "Error", "named like a failure");
    MakeCookbook("Nameless.TQC", QVariant(), {}, 2);
    MakeCookbook("Other.db", "Other");
    writeBytes(cookbook("Broken.tqc"), "not a database at all, just some bytes that happen to have the extension");

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    frmCookbook dlg;
    ASSERT_EQ(dlg.lstvCookbooks->count(), 3);
    ASSERT_EQ(dlg.lstvCookbooks->viewMode(), QListView::IconMode);

    const QListWidgetItem* family = find(dlg, "Family.tqc");
    ASSERT_NE(family, nullptr);
    EXPECT_EQ(family->text(), "Family");
    EXPECT_EQ(family->data(frmCookbook::DescriptionRole).toString(), "Sunday ## dinners");
    EXPECT_EQ(family->data(frmCookbook::CountRole).toString(), "1,234");

    const QListWidgetItem* error = find(dlg, "Error.tqc");
    ASSERT_NE(error, nullptr) << "a cookbook named Error is a cookbook like any other";
    EXPECT_EQ(error->text(), "Error");
    EXPECT_EQ(error->data(frmCookbook::CountRole).toString(), "") << "no recipes shows no count";

    const QListWidgetItem* nameless = find(dlg, "Nameless.TQC");
    ASSERT_NE(nameless, nullptr);
    EXPECT_EQ(nameless->text(), "");
    EXPECT_EQ(nameless->data(frmCookbook::CountRole).toString(), "2");

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    dlg.cmdAction_Click(5);
    EXPECT_EQ(find(dlg, "Family.tqc")->data(frmCookbook::CountRole).toString(), "1.234");
    EXPECT_TRUE(recorder.boxes.isEmpty());

    EXPECT_FALSE(frmCookbook::GetCookbookInfo(cookbook("Broken.tqc")).ok);
    EXPECT_FALSE(frmCookbook::GetCookbookInfo(cookbook("Missing.tqc")).ok);
}

TEST_F(CookbookManager, OpenMakesTheCookbookCurrentOrSaysItFailed)
{
    MakeCookbook("Family.tqc", "Family");
    MakeCookbook("Gone.tqc", "Gone");
    frmCookbook dlg;
    dlg.show();

    // Nothing selected: nothing happens, whatever the button.
    for (int action : {0, 2, 4, 6})
        dlg.cmdAction_Click(action);
    dlg.lstvCookbooks_DblClick();
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_TRUE(dlg.isVisible());

    select(dlg, "Gone.tqc");
    QFile::remove(cookbook("Gone.tqc"));
    dlg.cmdAction_Click(0);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "Failed to open cookbook!");
    EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::OK);
    EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry");
    EXPECT_FALSE(window.calls.contains("EnableToolBarButtons"));
    EXPECT_TRUE(dlg.isVisible());

    select(dlg, "Family.tqc");
    dlg.lstvCookbooks_DblClick();
    EXPECT_EQ(basDatabase::sCurrentCookbook, "Family.tqc");
    EXPECT_EQ(window.calls, (QStringList{"EnableToolBarButtons", "RefreshViews"}));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(CookbookManager, DeleteAsksFirstAndClosesTheOpenCookbook)
{
    MakeCookbook("Family.tqc", "Family");
    MakeCookbook("Work.tqc", "Work lunches");
    ASSERT_TRUE(basDatabase::OpenCookbook("Family.tqc"));
    frmCookbook dlg;
    select(dlg, "Work.tqc");

    recorder.answers.enqueue(ui::Answer::No);
    dlg.cmdAction_Click(2);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text,
              "Are you sure you wish to delete this Cookbook? (Work lunches). This cannot be undone!");
    EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Question);
    EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(recorder.boxes[0].defaultButton, ui::DefaultButton::Second);
    EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry");
    EXPECT_TRUE(QFile::exists(cookbook("Work.tqc")));
    EXPECT_EQ(basDatabase::sCurrentCookbook, "Family.tqc");

    recorder.answers.enqueue(ui::Answer::Yes);
    dlg.cmdAction_Click(2);
    EXPECT_FALSE(QFile::exists(cookbook("Work.tqc")));
    EXPECT_TRUE(QFile::exists(cookbook("Family.tqc")));
    EXPECT_EQ(basDatabase::sCurrentCookbook, "") << "the open cookbook is closed too";
    EXPECT_EQ(window.calls, QStringList{"ResetScreen"});
    EXPECT_EQ(dlg.lstvCookbooks->count(), 1);
}

TEST_F(CookbookManager, CreateNewAndEditGoThroughTheEditDialog)
{
    frmCookbook dlg;
    {
        ModalAnswer<frmEditCookbook> answer([](frmEditCookbook& edit) {
            EXPECT_EQ(edit.windowTitle(), "Create new Cookbook");
            EXPECT_FALSE(edit.bEdit);
            edit.txtName->setText("Family");
            edit.txtDescription->setPlainText("Sunday ## dinners\nand more");
            edit.cmdOk_Click();
        });
        dlg.cmdAction_Click(1);
    }
    ASSERT_EQ(dlg.lstvCookbooks->count(), 1);
    EXPECT_EQ(dlg.lstvCookbooks->item(0)->text(), "Family");
    EXPECT_EQ(basDatabase::sCurrentCookbook, "") << "a new cookbook is not opened";

    db::Connection cn;
    cn.open(cookbook("Family.tqc"));
    db::Query(cn, "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) "
                  "VALUES ('Soup', '', '', '', '')").exec();
    cn.close();

    select(dlg, "Family.tqc");
    {
        ModalAnswer<frmEditCookbook> answer([this](frmEditCookbook& edit) {
            EXPECT_EQ(edit.windowTitle(), "Edit");
            EXPECT_TRUE(edit.bEdit);
            EXPECT_EQ(edit.sFile, cookbook("Family.tqc"));
            EXPECT_EQ(edit.txtName->text(), "Family");
            EXPECT_EQ(edit.txtDescription->toPlainText(), "Sunday ## dinners\nand more");
            edit.txtName->setText("Our family");
            edit.cmdOk_Click();
        });
        dlg.cmdAction_Click(4);
    }
    const CookbookInfo info = frmCookbook::GetCookbookInfo(cookbook("Family.tqc"));
    EXPECT_EQ(info.name, "Our family");
    EXPECT_EQ(info.description, "Sunday ## dinners\r\nand more");
    EXPECT_EQ(info.count, 1);
    EXPECT_EQ(dlg.lstvCookbooks->item(0)->text(), "Our family");
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[0].text, "Cookbook Created Successfully");
    EXPECT_EQ(recorder.boxes[1].text, "Cookbook Edited Successfully");
}

// The list is refilled after Edit, whether it was saved or cancelled: the cookbook that was selected stays
// selected and current, so Open (or Edit again) still acts on it.
TEST_F(CookbookManager, TheSelectionOutlivesTheRefillAfterEdit)
{
    program.createCookbook("Apple");
    program.createCookbook("Berry");
    basDatabase::CloseCookbook();
    frmCookbook dlg;
    dlg.Form_Load();
    for (const bool saved : {false, true}) {
        SCOPED_TRACE(saved ? "saved" : "cancelled");
        select(dlg, "Berry.tqc");
        {
            ModalAnswer<frmEditCookbook> answer([saved](frmEditCookbook& edit) {
                if (saved)
                    edit.cmdOk_Click();
                else
                    edit.cmdCancel_Click();
            });
            dlg.cmdAction_Click(4);
        }
        ASSERT_EQ(dlg.lstvCookbooks->selectedItems().size(), 1);
        EXPECT_EQ(dlg.lstvCookbooks->selectedItems()[0]->data(frmCookbook::FileRole), "Berry.tqc");
        EXPECT_EQ(dlg.lstvCookbooks->currentItem(), dlg.lstvCookbooks->selectedItems()[0]);
    }
    dlg.cmdAction_Click(0);
    EXPECT_EQ(basDatabase::sCurrentCookbook, "Berry.tqc");
}

TEST_F(CookbookManager, ListsTheCookbooksByNameInTheUsersDictionaryOrder)
{
    MakeCookbook("a.tqc", "Zupy");
    MakeCookbook("b.tqc", "Éclairs");
    MakeCookbook("c.tqc", "Łososie");
    MakeCookbook("d.tqc", "ciasta");
    MakeCookbook("e.tqc", "Apple pies");
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    frmCookbook dlg;
    QStringList names;
    for (int i = 0; i < dlg.lstvCookbooks->count(); ++i)
        names << dlg.lstvCookbooks->item(i)->text();
    EXPECT_EQ(names, QStringList({"Apple pies", "ciasta", "Éclairs", "Łososie", "Zupy"}));
    EXPECT_EQ(find(dlg, "c.tqc")->text(), "Łososie");
}

TEST_F(CookbookManager, CompactShrinksTheSelectedCookbookAndReopensTheOpenOne)
{
    MakeCookbook("Family.tqc", "Family", "", 10);
    MakeCookbook("Big.tqc", "Big", "", 600, 500);
    writeBytes(cookbook("temp.mdb"), "left over from last time");
    ASSERT_TRUE(basDatabase::OpenCookbook("Family.tqc"));

    frmCookbook dlg;
    dlg.show();
    select(dlg, "Big.tqc");
    const qint64 before = QFileInfo(cookbook("Big.tqc")).size();
    dlg.cmdAction_Click(6);

    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "Cookbook Compacted Successfully");
    EXPECT_LT(QFileInfo(cookbook("Big.tqc")).size(), before);
    EXPECT_EQ(recipeCount("Big.tqc"), 100);
    EXPECT_FALSE(QFile::exists(cookbook("temp.mdb")));
    EXPECT_EQ(basDatabase::sCurrentCookbook, "Family.tqc");
    EXPECT_EQ(window.calls, (QStringList{"ResetScreen", "EnableToolBarButtons", "RefreshViews"}));
    EXPECT_TRUE(dlg.isVisible()) << "the manager stays open";

    // With no cookbook open, none is opened afterwards.
    basDatabase::CloseCookbook();
    window.calls.clear();
    select(dlg, "Family.tqc");
    dlg.cmdAction_Click(6);
    EXPECT_EQ(basDatabase::sCurrentCookbook, "");
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(recipeCount("Family.tqc"), 10);
}

TEST_F(CookbookManager, FailedCompactionLeavesTheCookbookUntouched)
{
    MakeCookbook("Family.tqc", "Family", "", 50, 20);
    ASSERT_TRUE(basDatabase::OpenCookbook("Family.tqc"));
    const QByteArray original = readBytes(cookbook("Family.tqc"));
    // Another program is writing and keeps the lock beyond the wait.
    const int savedTimeout = db::busyTimeout();
    db::setBusyTimeout(100);
    SecondProcess other({"hold", cookbook("Family.tqc")});
    ASSERT_EQ(other.readLine(), "held");

    frmCookbook dlg;
    select(dlg, "Family.tqc");
    dlg.cmdAction_Click(6);
    db::setBusyTimeout(savedTimeout);

    EXPECT_EQ(readBytes(cookbook("Family.tqc")), original);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text,
              "Failed to compact cookbook!\r\nAnother program is using the cookbook (database is locked)");
    EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(basDatabase::sCurrentCookbook, "Family.tqc") << "the open cookbook comes back";
    EXPECT_EQ(window.calls, (QStringList{"ResetScreen", "EnableToolBarButtons", "RefreshViews"}));
    EXPECT_EQ(QDir(program.path("data/cookbooks")).entryList(QDir::Files), QStringList{"Family.tqc"});
}

// Another instance of the program (a process of its own) has the cookbook open: compacting or deleting it
// here is refused and says why, and the other instance goes on saving into the very file it has open.
TEST_F(CookbookManager, ACookbookOpenInAnotherInstanceIsNeitherCompactedNorDeleted)
{
    MakeCookbook("Family.tqc", "Family", "", 50, 20);
    MakeCookbook("Garden.tqc", "Garden");
    ASSERT_TRUE(basDatabase::OpenCookbook("Garden.tqc"));
    const QString busy = QString::number(db::busyTimeout());
    SecondProcess other({"open", program.path(), "Family.tqc", busy});
    ASSERT_EQ(other.readLine(), "open");
    const QByteArray before = readBytes(cookbook("Family.tqc"));
    const QString refused = "The cookbook is open in another window of Tovalquendry. Close it there first.";

    frmCookbook dlg;
    select(dlg, "Family.tqc");
    dlg.cmdAction_Click(6);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "Failed to compact cookbook!\r\n" + refused);
    EXPECT_EQ(readBytes(cookbook("Family.tqc")), before);

    recorder.answers.enqueue(ui::Answer::Yes);
    dlg.cmdAction_Click(2);
    ASSERT_EQ(recorder.boxes.size(), 3);
    EXPECT_EQ(recorder.boxes[2].text, "Failed to delete cookbook!\r\n" + refused);
    EXPECT_EQ(recorder.boxes[2].icon, ui::Icon::Exclamation);
    EXPECT_EQ(readBytes(cookbook("Family.tqc")), before);
    EXPECT_NE(find(dlg, "Family.tqc"), nullptr);
    EXPECT_EQ(basDatabase::sCurrentCookbook, "Garden.tqc") << "this window's cookbook comes back";

    other.send("save Stew");
    EXPECT_EQ(other.readLine(), "saved");
    EXPECT_TRUE(other.finish().isEmpty());
    {
        db::Connection family;
        family.open(cookbook("Family.tqc"));
        EXPECT_EQ(scalar(family, "SELECT count(*) FROM RECIPES WHERE TITLE='Stew'"), 1);
    }

    // While this window compacts or deletes it, another instance does not open it.
    {
        const paths::LockFile alone = basDatabase::TakeCookbookAlone(cookbook("Family.tqc"));
        SecondProcess late({"open", program.path(), "Family.tqc", "100"});
        EXPECT_EQ(late.readLine(), "error 70 The cookbook is being compacted or deleted in another window of "
                                   "Tovalquendry. Try again when that is done.");
    }

    // Once the other instance has closed it, both go through.
    recorder.boxes.clear();
    select(dlg, "Family.tqc");
    dlg.cmdAction_Click(6);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "Cookbook Compacted Successfully");
    EXPECT_LT(QFileInfo(cookbook("Family.tqc")).size(), before.size());
    recorder.answers.enqueue(ui::Answer::Yes);
    dlg.cmdAction_Click(2);
    EXPECT_EQ(recorder.boxes.size(), 2) << "only the question";
    EXPECT_EQ(QDir(program.path("data/cookbooks")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{".Garden.tqc.lock", "Garden.tqc"}))
        << "the deleted cookbook's lock file goes with it";
}

// Whether this process holds an exclusive flock on the file: read from /proc/locks, which takes no lock.
bool HoldsExclusiveFlock(const QString& path)
{
    struct stat st {};
    QFile locks("/proc/locks");
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !locks.open(QIODevice::ReadOnly))
        return false;
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QString inode = ":" + QString::number(st.st_ino);
    for (const QString& line : QString::fromLatin1(locks.readAll()).split('\n')) {
        const QStringList f = line.split(' ', Qt::SkipEmptyParts); // n: FLOCK ADVISORY WRITE pid dev:inode ...
        if (f.size() > 5 && f[1] == "FLOCK" && f[3] == "WRITE" && f[4] == pid && f[5].endsWith(inode))
            return true;
    }
    return false;
}

// The compaction runs beside the window. Here it waits for another program's write, as a large one takes
// seconds: meanwhile the event loop runs, a modal window shows the progress (Esc does not close it), and
// another instance is kept out of the cookbook. Once the write ends the compaction completes and says so.
TEST_F(CookbookManager, CompactionRunsBesideTheWindowShowingProgressAndKeepsOtherInstancesOut)
{
    MakeCookbook("Family.tqc", "Family & Friends", "", 600, 500);
    MakeCookbook("Garden.tqc", "Garden");
    ASSERT_TRUE(basDatabase::OpenCookbook("Garden.tqc"));
    const qint64 before = QFileInfo(cookbook("Family.tqc")).size();
    const int savedTimeout = db::busyTimeout();
    db::setBusyTimeout(60000);
    auto writer = std::make_unique<SecondProcess>(QStringList{"hold", cookbook("Family.tqc")});
    ASSERT_EQ(writer->readLine(), "held");

    frmCookbook dlg;
    dlg.show();
    select(dlg, "Family.tqc");
    int ticks = 0;
    QString progressCaption, lateInstance;
    bool closedByEsc = true;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        QWidget* progress = QApplication::activeModalWidget();
        if (!writer || !progress || progress == &dlg || !HoldsExclusiveFlock(basDatabase::CookbookLockPath(cookbook("Family.tqc"))))
            return;
        if (auto* caption = progress->findChild<QLabel*>("lblCompacting"))
            progressCaption = caption->text();
        QTest::keyClick(progress, Qt::Key_Escape);
        closedByEsc = !progress->isVisible();
        SecondProcess late({"open", program.path(), "Family.tqc", "100"});
        lateInstance = late.readLine();
        writer.reset(); // the other program's write ends; the compaction goes on
    });
    ticker.start(10);
    dlg.cmdAction_Click(6);
    ticker.stop();
    db::setBusyTimeout(savedTimeout);

    EXPECT_EQ(writer, nullptr) << "the event loop did not run during the compaction";
    EXPECT_EQ(progressCaption, "Compacting cookbook Family & Friends ...");
    EXPECT_FALSE(closedByEsc);
    EXPECT_EQ(lateInstance, "error 70 The cookbook is being compacted or deleted in another window of "
                            "Tovalquendry. Try again when that is done.");
    EXPECT_EQ(QApplication::activeModalWidget(), &dlg) << "the progress window is gone";
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "Cookbook Compacted Successfully");
    EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Information);
    EXPECT_LT(QFileInfo(cookbook("Family.tqc")).size(), before);
    EXPECT_EQ(recipeCount("Family.tqc"), 100);
    EXPECT_EQ(basDatabase::sCurrentCookbook, "Garden.tqc");
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(CookbookManager, AMissingCookbooksFolderIsReportedNotShownEmpty)
{
    MakeCookbook("Family.tqc", "Family");
    frmCookbook dlg;
    ASSERT_EQ(dlg.lstvCookbooks->count(), 1);
    ASSERT_TRUE(QDir(program.path("data/cookbooks")).removeRecursively());

    dlg.cmdAction_Click(5);
    EXPECT_EQ(program.errorLog(), "(76)\r\nPath not found: " + program.path("data/cookbooks")
                                      + "\r\noccurred in module cmdAction_Click\r\n");
    EXPECT_EQ(dlg.lstvCookbooks->count(), 0);

    // Loading the manager raises it to the command that shows the manager, which reports it.
    try {
        frmCookbook missing;
        ADD_FAILURE() << "the manager was shown without its folder";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, 76);
    }
}

TEST_F(CookbookManager, NothingAHandlerRaisesCrossesTheEventLoop)
{
    MakeCookbook("Family.tqc", "Family");
    struct ThrowingWindow final : StubMainWindow {
        void EnableToolBarButtons() override { throw std::runtime_error("toolbar gone"); }
        void RefreshViews() override { throw 42; }
    } broken;
    frmCookbook dlg;
    select(dlg, "Family.tqc");
    EXPECT_NO_THROW(dlg.cmdAction_Click(0));
    EXPECT_NO_THROW(dlg.lstvCookbooks_DblClick());
    EXPECT_EQ(program.errorLog(), "(51)\r\nInternal error: toolbar gone\r\noccurred in module cmdAction_Click\r\n"
                                  "(51)\r\nInternal error: toolbar gone\r\noccurred in module lstvCookbooks_DblClick\r\n");
}

} // namespace
