// An export or a saved page never replaces the open cookbook, the main database or a cookbook of the
// cookbooks folder, whatever name, link or hard link leads to it; the user is told why and nothing is
// written.
#include "BrowserFixture.h"
#include "core/basMain.h"
#include "exchange/cExport.h"
#include "exchange/frmExport.h"
#include "support/TestQueries.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

#include <unistd.h>

namespace {

using ProtectedFiles = BrowserTest;

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

    const struct {
        QString target, what;
    } targets[] = {
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

    frmExport dlg;
    dlg.show();
    for (const QString format : {"Tovalquendry", "MealMaster", "Compu-Chef", "MasterCook"}) {
        for (const auto& t : targets) {
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
    unchanged();
    dlg.close();

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
    dlg.cmbFormat->setCurrentText("MealMaster");
    dlg.txtFile->setText(program.path("elsewhere/family.mmf"));
    dlg.cmdExport_Click();
    EXPECT_TRUE(readBytes(program.path("elsewhere/family.mmf")).contains("Beef Stew"));
}

} // namespace
