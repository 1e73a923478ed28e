// Every file the program replaces, on a disk that runs full while it writes: the old file stays whole,
// no temporary file is left, and the user is told that the disk is full.
#include "BrowserFixture.h"
#include "browser/frmOptions.h"
#include "core/SmallDisk.h"
#include "core/Settings.h"
#include "exchange/cExport.h"
#include "exchange/frmExport.h"
#include "platform/paths/ProgramFolder.h"
#include "support/TestQueries.h"

#include <QComboBox>
#include <QLabel>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

class FullDisk : public BrowserTest {
protected:
    // A small disk mounted over a new folder of the scratch program.
    std::unique_ptr<SmallDisk> mountSmallDisk(const QString& folder, int kilobytes = 512)
    {
        QDir().mkpath(program.path(folder));
        return std::make_unique<SmallDisk>(program.path(folder), kilobytes);
    }
    QStringList filesIn(const QString& folder) const
    {
        return QDir(program.path(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

TEST_F(FullDisk, ASettingsWriteKeepsTheOldFileAndIsReported)
{
    // The settings file lives in the program folder: here the whole program folder is the small disk.
    const auto disk = mountSmallDisk("settings disk");
    if (!disk->mounted())
        GTEST_SKIP() << disk->reason.toStdString();
    struct ProgramFolderOnDisk {
        explicit ProgramFolderOnDisk(const QString& folder) { paths::setProgramFolder(folder); }
        ~ProgramFolderOnDisk() { paths::setProgramFolder(previous); }
        QString previous = paths::programFolder();
    } onDisk(program.path("settings disk"));
    const QString ini = program.path("settings disk/TQSettings.ini");
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(WriteINI("Options", QString("Key %1").arg(i), QString(100, QChar('a' + i % 26))));
    ASSERT_TRUE(WriteINI("Options", "SMTP Server", "mail.example.org"));
    const QByteArray before = readBytes(ini);

    frmOptions dlg;
    dlg.show();
    dlg.txtSMTP->setText("smtp.example.com");
    dlg.txtUserName->setText("The Cook");
    disk->fill();

    // Preferences OK: nothing stored, the dialog stays open with what the user typed, and says why.
    dlg.cmdOk_Click();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.txtSMTP->text(), "smtp.example.com");
    EXPECT_EQ(dlg.txtUserName->text(), "The Cook");
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.contains("preferences could not be saved")) << recorder.boxes[0].text.toStdString();
    EXPECT_TRUE(recorder.boxes[0].text.contains("Disk full")) << recorder.boxes[0].text.toStdString();
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module WriteINI"));
    EXPECT_EQ(readBytes(ini), before);

    // Any other settings write: refused whole and reported under "WriteINI".
    recorder.boxes.clear();
    EXPECT_FALSE(WriteINI("Size", "Main Window Left", "1440"));
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "(61)\r\nDisk full\r\noccurred in module WriteINI");
    EXPECT_EQ(readBytes(ini), before);
    // The main window's place, several keys in one write: told once, none stored.
    recorder.boxes.clear();
    EXPECT_FALSE(WriteINI("Size", {{"Main Window Left", "1440"}, {"Main Window Top", "720"}, {"Main Window State", "0"}}));
    EXPECT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(readBytes(ini), before);
    EXPECT_TRUE(filesIn("settings disk").filter(".tmp").isEmpty()) << filesIn("settings disk").join(' ').toStdString();

    // Room again: OK stores what the dialog kept.
    QFile::remove(program.path("settings disk/filler"));
    recorder.boxes.clear();
    dlg.cmdOk_Click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_EQ(ReadINI("Options", "SMTP Server"), "smtp.example.com");
    EXPECT_EQ(ReadINI("Options", "Senders Name"), "The Cook");
    EXPECT_EQ(ReadINI("Options", "Key 39"), QString(100, 'n'));
}

TEST_F(FullDisk, ExportsAndSaveRecipeKeepTheOldFileAndSaySo)
{
    const QString cookbook = makeCookbook();
    auto w = openWindow(cookbook);
    // Enough text that every format's file outgrows what is left of the disk.
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=1, INSTRUCTIONS=printf('%.*c', 30000, 'x')");
    const auto disk = mountSmallDisk("out");
    if (!disk->mounted())
        GTEST_SKIP() << disk->reason.toStdString();
    const QStringList formats{"Tovalquendry", "MealMaster", "Compu-Chef", "MasterCook"};
    for (const QString& format : formats)
        writeBytes(program.path("out/" + format + ".txt"), "last week's " + format.toUtf8());
    writeBytes(program.path("out/Beef Stew.html"), "<html>last week's page</html>");
    disk->fill();

    frmExport dlg;
    dlg.show();
    for (const QString& format : formats) {
        SCOPED_TRACE(format.toStdString());
        recorder.boxes.clear();
        recorder.answers.enqueue(ui::Answer::Yes); // replace the existing file
        dlg.cmbFormat->setCurrentText(format);
        dlg.txtFile->setText(program.path("out/" + format + ".txt"));
        dlg.cmdExport_Click();
        ASSERT_EQ(recorder.boxes.size(), 2);
        EXPECT_EQ(recorder.boxes[1].title, "Tovalquendry Error") << recorder.boxes[1].text.toStdString();
        EXPECT_TRUE(recorder.boxes[1].text.contains("Disk full")) << recorder.boxes[1].text.toStdString();
        EXPECT_EQ(readBytes(program.path("out/" + format + ".txt")), "last week's " + format.toUtf8());
    }
    dlg.close();

    recorder.boxes.clear();
    w->lstVRecipes()->view()->selectionModel()->clear();
    const QString id = QString::number(scalar(basDatabase::cnCookbook, "SELECT ID FROM RECIPES WHERE TITLE='Beef Stew'"));
    w->DisplayRecipe("R" + id, false);
    recorder.files.enqueue({program.path("out/Beef Stew.html")});
    recorder.answers.enqueue(ui::Answer::Yes); // replace the existing file
    w->commandButton("MENU:FILE:SAVE")->trigger();
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_TRUE(recorder.boxes[1].text.contains("Disk full")) << recorder.boxes[1].text.toStdString();
    EXPECT_EQ(readBytes(program.path("out/Beef Stew.html")), "<html>last week's page</html>");

    const QStringList expected{"Beef Stew.html", "Compu-Chef.txt", "MasterCook.txt", "MealMaster.txt",
                               "Tovalquendry.txt", "filler"};
    EXPECT_EQ(filesIn("out"), expected) << "no temporary file is left behind";
}

// A disk that runs full part-way through an export: recipes had been counted as they went out, but none
// was kept, so the dialog's count goes back to 0; the user gets one box and the log one record, each naming
// the full disk, and no file is left.
TEST_F(FullDisk, AnExportCutShortByAFullDiskCountsNothingExported)
{
    const QString cookbook = makeCookbook();
    auto w = openWindow(cookbook);
    {
        db::Transaction tx(basDatabase::cnCookbook);
        for (int i = 0; i < 60; ++i)
            db::Query(basDatabase::cnCookbook,
                      "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS, MARK) "
                      "VALUES (?1, 'Me', 'Soups', '1 cup water', printf('%.*c', 20000, 'x'), 1)",
                      {QString("Soup %1").arg(i)})
                .exec();
        tx.commit();
    }
    const auto disk = mountSmallDisk("out", 256);
    if (!disk->mounted())
        GTEST_SKIP() << disk->reason.toStdString();

    frmExport dlg;
    dlg.show();
    for (const QString format : {"Tovalquendry", "MealMaster", "Compu-Chef", "MasterCook"}) {
        SCOPED_TRACE(format.toStdString());
        recorder.boxes.clear();
        const QString logBefore = program.errorLog();
        QStringList counts;
        const auto seen = QObject::connect(dlg.Exporter, &cExport::Exported, [&](qint32 n) { counts << QString::number(n); });
        dlg.cmbFormat->setCurrentText(format);
        dlg.txtFile->setText(program.path("out/export.txt"));
        dlg.cmdExport_Click();
        QObject::disconnect(seen);

        EXPECT_GT(counts.size(), 1) << "the disk ran full after some recipes had gone out";
        EXPECT_EQ(dlg.lblExported->text(), "0");
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_TRUE(recorder.boxes[0].text.contains("Disk full")) << recorder.boxes[0].text.toStdString();
        const QString logged = program.errorLog().mid(logBefore.size());
        EXPECT_EQ(logged.count("Disk full"), 1) << logged.toStdString();
        EXPECT_TRUE(filesIn("out").isEmpty()) << filesIn("out").join(' ').toStdString();
    }
}

} // namespace
