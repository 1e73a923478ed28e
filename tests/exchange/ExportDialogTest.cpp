// The export dialog: marked recipes written in each format and read back, the result message, clearing
// marks, the overwrite question and failed exports.
#include "ImportFixture.h"
#include "RecipeTextSamples.h"

#include "exchange/RecipeMarkers.h"
#include "exchange/cExport.h"
#include "exchange/frmExport.h"
#include "support/TestQueries.h"

#include "exchange/frmImport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class ExportDialog : public ImportFixture {
protected:
    void SetUp() override
    {
        ImportFixture::SetUp();
        for (const char* title : {"Apple Pie", "Beef Stew", "Carrot Soup"})
            insertRecipe({{"Title", title}, {"Author", "Jane"}, {"Category", "Dinner"},
                          {"Ingredients", "1 cup water\r\n2 carrots"}, {"Instructions", "Cook it."},
                          {"Mark", QString(title) != "Beef Stew" ? 1 : 0}});
    }
    static qint64 marked() { return scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM RECIPES WHERE MARK=1"); }

    // Exports through the dialog in the format shown in the list.
    void exportAs(frmExport& dlg, const QString& format, const QString& path, bool clear = false)
    {
        dlg.cmbFormat->setCurrentText(format);
        dlg.txtFile->setText(path);
        dlg.chkClear->setChecked(clear);
        dlg.cmdExport_Click();
    }

    CountingMainWindow window;
};

// Every writer lets the window repaint while it writes: the count moves, and nothing else can be started
// from the dialog meanwhile.
TEST_F(ExportDialog, EveryWriterLetsTheWindowRepaintTheCount)
{
    frmExport dlg;
    dlg.show();
    for (const QString format : {"Tovalquendry", "MealMaster", "Compu-Chef", "MasterCook"}) {
        SCOPED_TRACE(format.toStdString());
        QStringList seen;
        bool buttonsOff = true;
        cImport::setYieldHook([&] {
            if (seen.isEmpty() || seen.last() != dlg.lblExported->text())
                seen << dlg.lblExported->text();
            buttonsOff = buttonsOff && !dlg.cmdExport->isEnabled() && !dlg.cmdCancel->isEnabled();
        });
        exportAs(dlg, format, program.path("moving-" + format));
        EXPECT_EQ(seen, (QStringList{"1", "2"}));
        EXPECT_TRUE(buttonsOff);
        EXPECT_TRUE(dlg.cmdExport->isEnabled());
        EXPECT_TRUE(dlg.cmdCancel->isEnabled());
    }
}

TEST_F(ExportDialog, WritesTheMarkedRecipesInEachFormatAndReadsThemBack)
{
    frmExport dlg;
    dlg.show();
    EXPECT_EQ(dlg.cmbFormat->count(), 4);
    EXPECT_EQ(dlg.cmbFormat->currentText(), "Tovalquendry");
    EXPECT_FALSE(dlg.cmbFormat->isEditable());

    const struct {
        QString format, detected;
    } cases[] = {{"Tovalquendry", "XML"}, {"MealMaster", "MealMaster"}, {"Compu-Chef", "CompuChef"},
                 {"MasterCook", "MasterCook"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format.toStdString());
        recorder.boxes.clear();
        const QString path = program.path("out-" + c.format);
        exportAs(dlg, c.format, path);
        EXPECT_EQ(dlg.lblExported->text(), "2");
        ASSERT_EQ(recorder.boxes.size(), 1);
        expectBox(recorder.boxes[0], "2 recipes exported to " + path, "Export", ui::Icon::Information);
        EXPECT_EQ(marked(), 2) << "marks stay unless asked";

        // Read back into an empty cookbook, recognised as the import dialog recognises files.
        program.createCookbook("Back " + c.format);
        frmImport reader;
        EXPECT_EQ(reader.CheckFormatRequired(path), c.detected);
        EXPECT_TRUE(ImportWithReader(*reader.Import, c.detected, path));
        EXPECT_EQ(storedTitles(), (QStringList{"Apple Pie", "Carrot Soup"}));
        ASSERT_TRUE(basDatabase::OpenCookbook("Test.tqc"));
    }
    EXPECT_TRUE(window.refreshes == 0);
}

TEST_F(ExportDialog, ClearsMarksWhenAskedAndCountsEachExportAfresh)
{
    frmExport dlg;
    dlg.show();
    exportAs(dlg, "MealMaster", program.path("a.mmf"), true);
    EXPECT_EQ(dlg.lblExported->text(), "2");
    EXPECT_EQ(marked(), 0);

    // Nothing marked now: an empty file, and the count says so rather than repeating the last one.
    exportAs(dlg, "MealMaster", program.path("b.mmf"), true);
    EXPECT_EQ(readBytes(program.path("b.mmf")), QByteArray());
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[1].text, "0 recipes exported to " + program.path("b.mmf"));
}

TEST_F(ExportDialog, AsksBeforeOverwritingAndNeedsAFile)
{
    frmExport dlg;
    dlg.show();
    dlg.cmdExport_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    expectBox(recorder.boxes[0], "Please enter a file to export to", "Export", ui::Icon::Information);

    const QString path = writeFile("kept.mmf", "old content");
    recorder.boxes.clear();
    recorder.answers.enqueue(ui::Answer::No);
    exportAs(dlg, "MealMaster", path, true);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "The selected file already exists, do you wish to overwrite it?");
    EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry");
    EXPECT_EQ(recorder.boxes[0].defaultButton, ui::DefaultButton::Second);
    EXPECT_EQ(readBytes(path), "old content");
    EXPECT_EQ(marked(), 2);
    EXPECT_EQ(dlg.lblExported->text(), "");

    recorder.answers.enqueue(ui::Answer::Yes);
    exportAs(dlg, "MealMaster", path);
    EXPECT_TRUE(readBytes(path).startsWith("MMMMM"));

    // The file dialog leaves the question to Export, so that it is asked once.
    recorder.files.enqueue({path});
    dlg.cmdBrowse_Click();
    EXPECT_EQ(dlg.txtFile->text(), path);
    ASSERT_EQ(recorder.dialogs.size(), 1);
    EXPECT_EQ(recorder.dialogs[0].kind, ui::FileDialogRequest::Kind::Save);
    EXPECT_FALSE(recorder.dialogs[0].confirmOverwrite);
    EXPECT_EQ(recorder.dialogs[0].selectedFilter, "All Files (*)");
}

TEST_F(ExportDialog, AFailedExportIsReportedAndKeepsTheMarks)
{
    QDir().mkpath(program.path("folder.mmf"));
    frmExport dlg;
    dlg.show();
    for (const QString format : {"Tovalquendry", "MealMaster", "Compu-Chef", "MasterCook"}) {
        SCOPED_TRACE(format.toStdString());
        recorder.boxes.clear();
        exportAs(dlg, format, program.path("folder.mmf"), true);
        ASSERT_FALSE(recorder.boxes.isEmpty());
        EXPECT_EQ(recorder.boxes.last().title, "Tovalquendry Error") << "no success message after a failure";
        EXPECT_EQ(marked(), 2);
        EXPECT_TRUE(dlg.cmdCancel->isEnabled());
        EXPECT_FALSE(ui::isBusy());
    }
    EXPECT_TRUE(recorder.boxes.last().text.contains("occurred in module"));
    EXPECT_TRUE(program.errorLog().contains("frmExport cmdExport")) << "the XML writer's failure";

    // The cookbook cannot be read: the file the user chose keeps what it held.
    const QString kept = writeFile("kept.mmf", "old content");
    basDatabase::cnCookbook.close();
    for (const QString format : {"Tovalquendry", "MealMaster", "Compu-Chef", "MasterCook"}) {
        SCOPED_TRACE(format.toStdString());
        recorder.boxes.clear();
        recorder.answers.enqueue(ui::Answer::Yes);
        exportAs(dlg, format, kept, true);
        ASSERT_EQ(recorder.boxes.size(), 2);
        EXPECT_EQ(recorder.boxes[1].title, "Tovalquendry Error");
        EXPECT_EQ(readBytes(kept), "old content");
    }
}

TEST_F(ExportDialog, StaysOpenWhileItWrites)
{
    frmExport dlg;
    dlg.show();
    bool stayed = false, closeDisabled = false;
    QObject::connect(dlg.Exporter, &cExport::Exported, [&] {
        closeDisabled = !dlg.cmdCancel->isEnabled();
        dlg.reject();
        dlg.cmdCancel_Click();
        stayed = dlg.isVisible();
    });
    exportAs(dlg, "MealMaster", program.path("x.mmf"));
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(closeDisabled);
    dlg.cmdCancel_Click();
    EXPECT_FALSE(dlg.isVisible());
}

} // namespace
