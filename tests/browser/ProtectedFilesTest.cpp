// An export or a saved page never replaces the open cookbook, the main database or a cookbook of the
// cookbooks folder, whatever name, link or hard link leads to it; the user is told why and nothing is
// written.
#include "BrowserFixture.h"
#include "core/basMain.h"
#include "exchange/cExport.h"
#include "exchange/frmExport.h"
#include "core/PageFolder.h"
#include "core/Settings.h"
#include "support/TestQueries.h"

#include <QComboBox>
#include <QDir>
#include <QSet>
#include <QLineEdit>

#include <unistd.h>

namespace {

// A file the program keeps, and what the refusal calls it.
struct Target {
    QString target, what;
};

class ProtectedFiles : public BrowserTest {
protected:
    // The export dialog refuses every target in every format, before any question whether to replace it.
    void exportDialogRefuses(const QList<Target>& targets, const QStringList& formats)
    {
        frmExport dlg;
        dlg.show();
        for (const QString& format : formats)
            for (const Target& t : targets) {
                SCOPED_TRACE((format + " to " + t.target).toStdString());
                recorder.boxes.clear();
                dlg.cmbFormat->setCurrentText(format);
                dlg.txtFile->setText(t.target);
                dlg.cmdExport_Click();
                ASSERT_EQ(recorder.boxes.size(), 1) << "refused before the question whether to replace it";
                EXPECT_EQ(recorder.boxes[0].title, "Export");
                EXPECT_TRUE(recorder.boxes[0].text.contains(t.what)) << recorder.boxes[0].text.toStdString();
            }
    }
};

TEST_F(ProtectedFiles, ExportsAndSaveRecipeRefuseTheProgramsDatabases)
{
    program.createCookbook("Work");
    basDatabase::CloseCookbook();
    auto w = openWindow(makeCookbook());
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=1");
    QDir().mkpath(program.path("elsewhere"));
    ASSERT_EQ(::symlink(QFile::encodeName(program.path("data/cookbooks/Family.tqc")).constData(),
                        QFile::encodeName(program.path("elsewhere/family link.mmf")).constData()), 0);
    ASSERT_EQ(::link(QFile::encodeName(program.path("data/cookbooks/Work.tqc")).constData(),
                     QFile::encodeName(program.path("elsewhere/work.xml")).constData()), 0);

    const QList<Target> targets = {
        {program.path("data/cookbooks/Family.tqc"), "is the open cookbook"},
        {program.path("elsewhere/family link.mmf"), "is the open cookbook"},
        {program.path("data/cookbooks/../../data/tovalquendry.mdb"), "is the program's main database"},
        {program.path("DATA/Cookbooks/FAMILY.tqc"), "is the open cookbook"},
        {program.path("elsewhere/work.xml"), "is a cookbook of the cookbooks folder"},
        {program.path("data/cookbooks/New.tqc"), "is a cookbook of the cookbooks folder"},
        {program.path("data/cookbooks/Family.tqc-journal"), "is the journal of the open cookbook"},
    };
    QMap<QString, QByteArray> before;
    for (const auto& t : targets)
        before[t.target] = QFile::exists(t.target) ? readBytes(t.target) : QByteArray();
    const auto unchanged = [&] {
        for (const auto& t : targets) {
            EXPECT_EQ(QFile::exists(t.target), !before[t.target].isNull()) << t.target.toStdString();
            if (QFile::exists(t.target))
                EXPECT_EQ(readBytes(t.target), before[t.target]) << t.target.toStdString();
        }
    };

    exportDialogRefuses(targets, {"Tovalquendry", "MealMaster", "Compu-Chef", "MasterCook"});
    unchanged();

    // The writers themselves refuse too, whoever calls them.
    cExport exporter;
    const qint64 errorsBefore = basMain::errorsLogged();
    for (const auto& t : targets) {
        SCOPED_TRACE(t.target.toStdString());
        exporter.ExportMealMaster(t.target);
        exporter.ExportCompuChef(t.target);
        exporter.ExportMasterCook(t.target);
        EXPECT_THROW(exporter.ExportXML(t.target), AppError);
    }
    EXPECT_EQ(basMain::errorsLogged() - errorsBefore, qint64(3 * std::size(targets)));
    unchanged();

    // Save Recipe: told, and nothing written.
    const QString id = QString::number(scalar(basDatabase::cnCookbook, "SELECT ID FROM RECIPES WHERE TITLE='Beef Stew'"));
    w->DisplayRecipe("R" + id, false);
    for (const auto& t : targets) {
        SCOPED_TRACE(t.target.toStdString());
        recorder.boxes.clear();
        recorder.files.enqueue({t.target});
        w->commandButton("MENU:FILE:SAVE")->trigger();
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_EQ(recorder.boxes[0].title, "Save Recipe");
        EXPECT_TRUE(recorder.boxes[0].text.contains(t.what)) << recorder.boxes[0].text.toStdString();
    }
    unchanged();
    EXPECT_EQ(scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM RECIPES"), 4) << "the cookbook is whole";

    // Any other file is written as before.
    recorder.boxes.clear();
    frmExport dlg;
    dlg.show();
    dlg.cmbFormat->setCurrentText("MealMaster");
    dlg.txtFile->setText(program.path("elsewhere/family.mmf"));
    dlg.cmdExport_Click();
    EXPECT_TRUE(readBytes(program.path("elsewhere/family.mmf")).contains("Beef Stew"));
}

// Every other file the program keeps is refused the same way, by the file it reaches: the settings and
// their lock, the cookbooks' locks, the error log, the working files under "temp" and the template in use.
// Save Recipe refuses before it asks whether to replace the file.
TEST_F(ProtectedFiles, ExportsAndSaveRecipeRefuseEveryFileTheProgramKeeps)
{
    auto w = openWindow(makeCookbook());
    WriteINI("Options", "Export Format", "MealMaster");
    writeBytes(program.path("error.log"), "(1)\r\nold\r\noccurred in module x\r\n");
    const QString id = QString::number(scalar(basDatabase::cnCookbook, "SELECT ID FROM RECIPES WHERE TITLE='Beef Stew'"));
    w->DisplayRecipe("R" + id, false);
    QDir().mkpath(program.path("elsewhere"));
    ASSERT_EQ(::symlink(QFile::encodeName(program.path("TQSettings.ini")).constData(),
                        QFile::encodeName(program.path("elsewhere/settings link.xml")).constData()), 0);
    ASSERT_EQ(::link(QFile::encodeName(program.path("data/cookbooks/.Family.tqc.lock")).constData(),
                     QFile::encodeName(program.path("elsewhere/lock.mmf")).constData()), 0);

    const QList<Target> targets = {
        {program.path("TQSettings.ini"), "settings file"},
        {program.path("elsewhere/settings link.xml"), "settings file"},
        {program.path("TQSettings.ini.lock"), "lock file"},
        {program.path("data/cookbooks/.Family.tqc.lock"), "lock file"},
        {program.path("elsewhere/lock.mmf"), "lock file"},
        {program.path("data/cookbooks/.Other.tqc.lock"), "lock file"},
        {program.path("error.log"), "error log"},
        {program.page("recipe.html"), "working file"},
        {program.page("new.mmf"), "working file"},
        {program.path("temp/other.xml"), "working file"},
        {basMain::sTemplatePath, "template"},
    };
    QMap<QString, QByteArray> before;
    QSet<QString> existed;
    for (const auto& t : targets) {
        ASSERT_FALSE(t.target.isEmpty());
        before[t.target] = readBytes(t.target);
        if (QFile::exists(t.target))
            existed << t.target;
    }

    exportDialogRefuses(targets, {"Tovalquendry", "MealMaster"});

    for (const auto& t : targets) {
        SCOPED_TRACE(t.target.toStdString());
        recorder.boxes.clear();
        recorder.files.enqueue({t.target});
        recorder.answers.enqueue(ui::Answer::Yes); // were it asked whether to replace, it would
        w->commandButton("MENU:FILE:SAVE")->trigger();
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_EQ(recorder.boxes[0].title, "Save Recipe");
        EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::OK);
        EXPECT_TRUE(recorder.boxes[0].text.contains(t.what)) << recorder.boxes[0].text.toStdString();
        recorder.answers.clear();
    }
    for (const auto& t : targets) {
        EXPECT_EQ(QFile::exists(t.target), existed.contains(t.target)) << t.target.toStdString();
        EXPECT_EQ(readBytes(t.target), before[t.target]) << t.target.toStdString();
    }
    EXPECT_TRUE(ReadINI("Options", "Export Format") == "MealMaster") << "the settings are whole";

    // A file of the user's own is asked about first, "No" by default, and replaced on Yes.
    writeBytes(program.path("elsewhere/mine.html"), "MINE");
    recorder.boxes.clear();
    recorder.files.enqueue({program.path("elsewhere/mine.html")});
    recorder.answers.enqueue(ui::Answer::No);
    w->commandButton("MENU:FILE:SAVE")->trigger();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].defaultButton, ui::DefaultButton::Second);
    EXPECT_EQ(readBytes(program.path("elsewhere/mine.html")), "MINE");
    recorder.files.enqueue({program.path("elsewhere/mine.html")});
    recorder.answers.enqueue(ui::Answer::Yes);
    w->commandButton("MENU:FILE:SAVE")->trigger();
    EXPECT_TRUE(readBytes(program.path("elsewhere/mine.html")).contains("Beef Stew"));
}

} // namespace
