// The import dialog: format detection, single and several files, the counters, Cancel and every message.
#include "ImportFixture.h"
#include "RecipeTextSamples.h"

#include "core/SmallDisk.h"

#include "exchange/FormatDetection.h"
#include "exchange/RecipeMarkers.h"
#include "exchange/frmImport.h"
#include "support/TestQueries.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <stdexcept>

namespace {

class ImportDialog : public ImportFixture {
protected:
    // Writes the text as a file of the scratch folder (UTF-8, as a text editor saves it).
    QString file(const QString& name, const QString& text) const { return writeFile(name, text.toUtf8()); }

    QStringList labels(const frmImport& dlg) const
    {
        return {dlg.lblFound->text(), dlg.lblImported->text(), dlg.lblSkipped->text()};
    }
    // The dialog is idle again, whatever ended the run.
    static void expectIdle(const frmImport& dlg)
    {
        EXPECT_FALSE(dlg.importing());
        EXPECT_TRUE(dlg.cmdImport->isEnabled());
        EXPECT_TRUE(dlg.cmdCancel->isEnabled());
        EXPECT_EQ(dlg.cmdCancel->text(), "&Close");
        EXPECT_EQ(dlg.lblMulti->text(), "");
        EXPECT_FALSE(basMain::bCancelImport);
        EXPECT_FALSE(ui::isBusy());
    }

    CountingMainWindow window;
};

TEST_F(ImportDialog, DetectsEachFormatByItsFirstMarkerLine)
{
    const struct {
        const char* name;
        QString text;
        QString format;
    } cases[] = {
        {"Meal-Master", samples::mealMaster("Pie"), "MealMaster"},
        {"Meal-Master export of another program", "----- Exported by Krecipes [Meal-Master Export Format] -----\r\n",
         "MealMaster"},
        {"MasterCook", "*  Exported from  MasterCook  *\r\n", "MasterCook"},
        {"MasterCook II", "\r\n\r\n *  Exported from  MasterCook II  *\r\n", "MasterCook"},
        {"MasterCook, single blanks", "* Exported from MasterCook *\r\n", "MasterCook"},
        {"MasterCook line naming Meal-Master", "* Exported from  MasterCook ----- Meal-Master *\r\n", "MasterCook"},
        {"first marker line decides", "*** Recipe Via Compu-Chef\r\n* Exported from MasterCook *\r\n", "CompuChef"},
        {"Compu-Chef words alone", "Recipe Via Compu-Chef\r\n", "CompuChef"},
        {"XML", "<xml xmlns:s='uuid'>\r\n", "XML"},
        {"Meal-Master named in prose", "I used Meal-Master for years.\r\n", "Unknown"},
        {"plain text", "Dear Jane,\r\nhere is the recipe.\r\n", "Unknown"},
        {"empty file", "", "Unknown"},
    };
    frmImport dlg;
    for (const auto& c : cases)
        EXPECT_EQ(dlg.CheckFormatRequired(file("detect.txt", c.text)), c.format) << c.name;

    // What cannot be read is logged, and the file is passed over.
    for (const QString& unreadable : {program.path("missing.mmf"), program.path("temp")}) {
        recorder.boxes.clear();
        EXPECT_EQ(dlg.CheckFormatRequired(unreadable), "") << unreadable.toStdString();
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module function CheckFormatRequired"));
    }
}

TEST_F(ImportDialog, ClipboardTextIsRecognisedInTheWatchersOrder)
{
    const struct {
        const char* name;
        QString text;
        QString format;
    } cases[] = {
        {"Meal-Master before MasterCook", samples::masterCook("Stew") + samples::mealMaster("Pie"), "MealMaster"},
        {"Compu-Chef trailer before MasterCook", samples::masterCook("Stew") + samples::compuChef("Soup"),
         "CompuChef"},
        {"MasterCook", samples::masterCook("Stew"), "MasterCook"},
        {"MasterCook II with runs of blanks", "*  Exported from  MasterCook II  *", "MasterCook"},
        {"XML", "<xml>", "XML"},
        {"Compu-Chef words without the trailer", "Recipe Via Compu-Chef", ""},
        {"a shopping list", "2 eggs\n1 cup flour\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClipboardTextFormat(c.text), c.format) << c.name;
}

TEST_F(ImportDialog, ImportsOneFileOfEachFormat)
{
    const QString xml = program.path("cake.xml");
    samples::writeXml(xml, "Xml Cake");

    const struct {
        QString path, title;
    } cases[] = {
        {file("pie.mmf", samples::mealMaster("apple pie")), "Apple Pie"},
        {file("stew.mxp", samples::masterCook("Beef Stew")), "Beef Stew"},
        {file("soup.txt", samples::compuChef("Onion Soup")), "Onion Soup"},
        {xml, "Xml Cake"},
    };
    frmImport dlg;
    dlg.show();
    for (const auto& c : cases) {
        dlg.txtFile->setText(c.path);
        dlg.cmdImport_Click();
        EXPECT_TRUE(storedTitles().contains(c.title)) << c.path.toStdString();
        EXPECT_EQ(labels(dlg), (QStringList{"1", "1", "0"})) << c.path.toStdString();
        expectIdle(dlg);
    }
    EXPECT_EQ(recipeCount(), 4);
    EXPECT_TRUE(recorder.boxes.isEmpty());

    // The same file again: every recipe is a duplicate.
    dlg.txtFile->setText(cases[0].path);
    dlg.cmdImport_Click();
    EXPECT_EQ(labels(dlg), (QStringList{"1", "0", "1"}));
}

TEST_F(ImportDialog, MessagesForAnEmptyBoxAndAnUnknownFile)
{
    frmImport dlg;
    dlg.show();
    dlg.cmdImport_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    expectBox(recorder.boxes[0], "Please select a file to import from", "Import Error", ui::Icon::Information);
    EXPECT_TRUE(dlg.cmdImport->isEnabled());

    dlg.txtFile->setText(file("letter.txt", "Dear Jane\r\n"));
    dlg.cmdImport_Click();
    ASSERT_EQ(recorder.boxes.size(), 2);
    expectBox(recorder.boxes[1], "File format not recognised.", "File format Error", ui::Icon::Exclamation);
    EXPECT_EQ(recipeCount(), 0);
    expectIdle(dlg);
}

TEST_F(ImportDialog, BrowseKeepsSeveralFilesAsAList)
{
    frmImport dlg;
    recorder.files.enqueue({program.path("one file.mmf")});
    dlg.cmdBrowse_Click();
    EXPECT_EQ(dlg.txtFile->text(), program.path("one file.mmf"));
    EXPECT_FALSE(dlg.m_MultiSelect);
    ASSERT_EQ(recorder.dialogs.size(), 1);
    EXPECT_EQ(recorder.dialogs[0].kind, ui::FileDialogRequest::Kind::OpenMany);
    EXPECT_EQ(recorder.dialogs[0].title, "Please select a file to import the recipes from");
    EXPECT_EQ(recorder.dialogs[0].selectedFilter, "All Files (*)");
    EXPECT_TRUE(recorder.dialogs[0].filter.contains("Meal Master Files (*.mmf)"));

    recorder.files.enqueue({program.path("a b.mmf"), program.path("c.mxp")});
    dlg.cmdBrowse_Click();
    EXPECT_TRUE(dlg.m_MultiSelect);
    EXPECT_EQ(dlg.m_Folder, program.path());
    EXPECT_EQ(dlg.m_Files, (QStringList{"a b.mmf", "c.mxp"}));
    EXPECT_EQ(dlg.txtFile->text(), "a b.mmf c.mxp");

    dlg.cmdBrowse_Click(); // cancelled
    EXPECT_EQ(dlg.txtFile->text(), "");
    EXPECT_FALSE(dlg.m_MultiSelect);
}

TEST_F(ImportDialog, SeveralFilesAreImportedInTurnPastAnUnknownOne)
{
    file("first pie.mmf", samples::mealMaster("First Pie") + samples::mealMaster("Second Pie"));
    file("letter.txt", "not a recipe\r\n");
    file("stew.mxp", samples::masterCook("Beef Stew"));

    frmImport dlg;
    dlg.show();
    recorder.files.enqueue({program.path("first pie.mmf"), program.path("letter.txt"), program.path("stew.mxp")});
    dlg.cmdBrowse_Click();

    QStringList seen; // the file counter as the user sees it while each file is read
    cImport::setYieldHook([&] {
        if (!dlg.lblMulti->text().isEmpty() && (seen.isEmpty() || seen.last() != dlg.lblMulti->text()))
            seen << dlg.lblMulti->text();
    });
    dlg.cmdImport_Click();

    EXPECT_EQ(seen, (QStringList{"File: 1 of 3", "File: 2 of 3", "File: 3 of 3"}));
    EXPECT_EQ(storedTitles(), (QStringList{"First Pie", "Second Pie", "Beef Stew"}));
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "File format not recognised.");
    EXPECT_EQ(labels(dlg), (QStringList{"1", "1", "0"})) << "the counters are those of the last file";
    expectIdle(dlg);

    // A name typed by hand replaces the chosen list.
    dlg.txtFile->setText(program.path("stew.mxp"));
    dlg.txtFile_Edited();
    dlg.cmdImport_Click();
    EXPECT_EQ(labels(dlg), (QStringList{"1", "0", "1"}));
    EXPECT_EQ(recorder.boxes.size(), 1);
}

TEST_F(ImportDialog, CancelStopsTheRunAndOnlyThatRun)
{
    QString text;
    for (int i = 1; i <= 30; ++i)
        text += samples::mealMaster(QString("Recipe %1").arg(i));
    const QString path = file("many.mmf", text);
    file("more.mmf", samples::mealMaster("Other Pie"));

    frmImport dlg;
    dlg.show();
    bool closeIgnored = false;
    cImport::setYieldHook([&] {
        if (basMain::lRecipesImported == 10 && dlg.cmdCancel->text() == "&Cancel") {
            EXPECT_TRUE(dlg.importing());
            EXPECT_FALSE(dlg.cmdImport->isEnabled());
            dlg.reject(); // Esc and the close box are ignored while the run is on
            closeIgnored = dlg.isVisible();
            dlg.cmdCancel_Click();
            EXPECT_EQ(dlg.cmdCancel->text(), "&Close");
            EXPECT_FALSE(dlg.cmdCancel->isEnabled()) << "Close waits until the run has stopped";
        }
    });
    dlg.txtFile->setText(path);
    dlg.cmdImport_Click();
    EXPECT_TRUE(closeIgnored);
    EXPECT_EQ(recipeCount(), 10);
    EXPECT_EQ(labels(dlg), (QStringList{"10", "10", "0"}));
    expectIdle(dlg);
    EXPECT_EQ(window.refreshes, 0);

    // The next run reads the whole file.
    cImport::setYieldHook([] {});
    dlg.cmdImport_Click();
    EXPECT_EQ(recipeCount(), 30);
    EXPECT_EQ(labels(dlg), (QStringList{"30", "20", "10"}));

    // A cancel during the first of several files leaves the next file unread.
    db::Query(basDatabase::cnCookbook, "DELETE FROM RECIPES").exec();
    recorder.files.enqueue({path, program.path("more.mmf")});
    dlg.cmdBrowse_Click();
    cImport::setYieldHook([&] {
        if (basMain::lRecipesFound == 3 && dlg.cmdCancel->text() == "&Cancel")
            dlg.cmdCancel_Click();
    });
    dlg.cmdImport_Click();
    EXPECT_EQ(recipeCount(), 3);
    EXPECT_FALSE(storedTitles().contains("Other Pie"));
    expectIdle(dlg);
}

// A large XML file is checked whole before its rows are counted: the dialog shows how far that check
// has read from the first row on, and Cancel stops the run at once, keeping nothing.
TEST_F(ImportDialog, XmlRunShowsProgressFromTheStartAndCancelKeepsNothing)
{
    constexpr int kRows = 20000;
    QByteArray rows;
    const QByteArray method(1000, 'x');
    for (int i = 0; i < kRows; ++i)
        rows += "<z:row Title='Recipe " + QByteArray::number(i) +
                "' Category='Soups' Ingredients='salt' Instructions='" + method + "'/>\r\n";
    const QString path = writeFile("large.xml", "<xml xmlns:rs='urn:schemas-microsoft-com:rowset' "
                                                "xmlns:z='#RowsetSchema'>\r\n<rs:data>\r\n" +
                                                    rows + "</rs:data>\r\n</xml>\r\n");
    frmImport dlg;
    dlg.show();
    dlg.txtFile->setText(path);
    int takenAtFirstYield = -1;
    QString progressAtFirstYield;
    cImport::setYieldHook([&] {
        if (takenAtFirstYield >= 0 || !dlg.importing() || recipeCount() == 0)
            return;
        takenAtFirstYield = recipeCount();
        progressAtFirstYield = dlg.lblCheck->text();
        dlg.cmdCancel_Click();
    });
    dlg.cmdImport_Click();

    EXPECT_EQ(takenAtFirstYield, 1) << "the window answers from the first row on";
    EXPECT_TRUE(progressAtFirstYield.startsWith("Checking the file: ")) << progressAtFirstYield.toStdString();
    EXPECT_EQ(recipeCount(), 0) << "a cancelled run keeps nothing";
    EXPECT_EQ(dlg.lblImported->text(), "0");
    EXPECT_EQ(dlg.lblCheck->text(), "");
    expectIdle(dlg);

    // The next run imports the whole file.
    cImport::setYieldHook([] {});
    dlg.cmdImport_Click();
    EXPECT_EQ(recipeCount(), kRows);
    EXPECT_EQ(labels(dlg), (QStringList{QString::number(kRows), QString::number(kRows), "0"}));
}

TEST_F(ImportDialog, RealFilesFromOtherProgramsAreRecognisedAndImportedInOneRun)
{
    const QDir corpus(QString(TQ_SOURCE_DIR) + "/../shared/corpus");
    if (!corpus.exists())
        GTEST_SKIP() << "no corpus at " << corpus.path().toStdString();
    frmImport dlg;
    dlg.show();
    qint32 headers = 0;
    for (const QString folder : {"mealmaster", "mastercook", "mealmaster/anymeal-fixtures"}) {
        SCOPED_TRACE(folder.toStdString());
        const QDir dir(corpus.filePath(folder));
        const QStringList names = dir.entryList({"*.mmf", "*.mxp"}, QDir::Files, QDir::Name);
        ASSERT_FALSE(names.isEmpty());
        qint32 lastFileHeaders = 0;
        for (const QString& name : names) {
            const QString format = dlg.CheckFormatRequired(dir.filePath(name));
            EXPECT_EQ(format, name.endsWith(".mmf") ? "MealMaster" : "MasterCook") << name.toStdString();
            lastFileHeaders = 0;
            for (const QString& line : QString::fromUtf8(readBytes(dir.filePath(name))).split('\n'))
                lastFileHeaders += format == "MealMaster" ? IsMealMasterStartLine(line) : IsMasterCookStartLine(line);
            headers += lastFileHeaders;
        }

        QStringList paths;
        for (const QString& name : names)
            paths << dir.filePath(name);
        recorder.files.enqueue(paths);
        dlg.cmdBrowse_Click();
        dlg.cmdImport_Click();
        expectIdle(dlg);
        EXPECT_EQ(dlg.lblFound->text(), QString::number(lastFileHeaders));
        EXPECT_EQ(dlg.lblImported->text().toInt() + dlg.lblSkipped->text().toInt(), lastFileHeaders);
    }
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_GE(headers, 70);
    // Every recipe is stored, but for those whose title another file already brought.
    const qint64 distinctTitles = scalar(basDatabase::cnCookbook, "SELECT COUNT(DISTINCT TITLE) FROM RECIPES");
    EXPECT_EQ(recipeCount(), distinctTitles);
    EXPECT_GT(recipeCount(), 0);
    EXPECT_LE(recipeCount(), headers);
}

TEST_F(ImportDialog, AFailedRunIsReportedAndTheDialogRecovers)
{
    frmImport dlg;
    dlg.show();
    dlg.txtFile->setText(file("pie.mmf", samples::mealMaster("Pie")));
    cImport::setYieldHook([] { throw std::runtime_error("event loop gone"); });
    dlg.cmdImport_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module frmImport cmdImport"));
    expectIdle(dlg);
}

// A cookbook on a disk that fills up during the import keeps none of the file's recipes: the counters show
// what was kept, and one box and one log record name the full disk.
TEST_F(ImportDialog, AFullDiskShowsWhatWasKeptInOneReport)
{
    basDatabase::CloseCookbook();
    SmallDisk disk(program.path("data/cookbooks"), 512);
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason.toStdString();

    const QString method = "  " + QString(300, 'x');
    QString mealMaster, rows;
    for (int i = 0; i < 4000; ++i) {
        mealMaster += samples::mealMaster(QString("Recipe %1").arg(i)).replace("  Bake it.", method);
        rows += QString("<z:row Title='Recipe %1' Category='Soups' Ingredients='salt' Instructions='%2'/>\r\n")
                    .arg(i)
                    .arg(method);
    }
    const QString xml = "<xml xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>\r\n<rs:data>\r\n" +
                        rows + "</rs:data>\r\n</xml>\r\n";
    const struct {
        const char* name;
        QString path;
        const char* routine;
    } cases[] = {{"Meal-Master", file("many.mmf", mealMaster), "ImportMealMaster"},
                 {"XML", file("many.xml", xml), "ImportXML"}};
    frmImport dlg;
    dlg.show();
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString made = program.createCookbook(QString("Small%1").arg(++n));
        recorder.boxes.clear();
        const QString logBefore = program.errorLog();
        dlg.txtFile->setText(c.path);
        dlg.cmdImport_Click();
        expectIdle(dlg);
        EXPECT_EQ(dlg.lblFound->text(), "4000");
        EXPECT_EQ(dlg.lblImported->text(), QString::number(recipeCount()));
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_TRUE(recorder.boxes[0].text.contains("Disk full")) << recorder.boxes[0].text.toStdString();
        EXPECT_TRUE(recorder.boxes[0].text.contains(c.routine));
        if (recipeCount() == 0)
            EXPECT_TRUE(recorder.boxes[0].text.contains("Nothing was imported."));
        const QString logged = program.errorLog().mid(logBefore.size());
        EXPECT_EQ(logged.count("Disk full"), 1) << logged.toStdString();
        basDatabase::CloseCookbook();
        QFile::remove(program.path("data/cookbooks/" + made));
    }
}

TEST_F(ImportDialog, ClosingRebuildsTheBrowseTree)
{
    frmImport dlg;
    dlg.show();
    dlg.cmdCancel_Click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(window.refreshes, 1);

    frmImport esc;
    esc.show();
    esc.reject();
    EXPECT_FALSE(esc.isVisible());
    EXPECT_EQ(window.refreshes, 2);
}

} // namespace
