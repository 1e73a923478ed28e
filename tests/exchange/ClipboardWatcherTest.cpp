// The clipboard watcher on the real clipboard: each format captured, the sounds, text left alone, and
// nothing touched while the program is busy.
#include "ImportFixture.h"
#include "RecipeTextSamples.h"

#include "core/Settings.h"
#include "exchange/ClipboardWatcher.h"
#include "support/TestQueries.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QMimeData>

namespace {

class ClipboardWatcher : public ImportFixture {
protected:
    void SetUp() override
    {
        ImportFixture::SetUp();
        clipboard()->clear();
    }
    void TearDown() override
    {
        clipboard()->clear();
        ImportFixture::TearDown();
    }
    static QClipboard* clipboard() { return QGuiApplication::clipboard(); }
    static bool clipboardHasText()
    {
        const QMimeData* data = clipboard()->mimeData();
        return data && data->hasText();
    }
    void soundsOn()
    {
        WriteINI("Options", "Play Recognised Sound", "True");
        WriteINI("Options", "Recognised Sound", "/sounds/yes.wav");
        WriteINI("Options", "Play Not Recognised", "True");
        WriteINI("Options", "Not Recognised Sound", "/sounds/no.wav");
    }

    CountingMainWindow window;
};

TEST_F(ClipboardWatcher, CapturesEachFormatAndEmptiesTheClipboard)
{
    soundsOn();
    const struct {
        const char* name;
        QString text, title;
    } cases[] = {
        {"Meal-Master", samples::mealMaster("cherry pie"), "Cherry Pie"},
        {"text beyond the 8-bit code page", samples::mealMaster(QString::fromUtf8("żurek z jajkiem €")),
         QString::fromUtf8("Żurek Z Jajkiem €")},
        {"Compu-Chef", samples::compuChef("Leek Soup"), "Leek Soup"},
        {"MasterCook", samples::masterCook("Lamb Stew"), "Lamb Stew"},
        {"MasterCook II, LF line ends", QString(samples::masterCook("Pork Stew", "*  Exported from  MasterCook II  *"))
                                             .replace("\r\n", "\n"),
         "Pork Stew"},
        {"MasterCook, single blanks", samples::masterCook("Veal Stew", "* Exported from MasterCook *"), "Veal Stew"},
    };
    int refreshes = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clipboard()->setText("Copied from a mail:\n" + c.text);
        basMain::CheckClipoard();
        EXPECT_TRUE(storedTitles().contains(c.title));
        EXPECT_FALSE(clipboardHasText()) << "emptied, so the next tick captures nothing";
        EXPECT_EQ(window.refreshes, ++refreshes);
        EXPECT_EQ(recorder.sounds.last(), "/sounds/yes.wav");
    }
    EXPECT_EQ(recorder.sounds.size(), 6);
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_FALSE(ui::isBusy());

    // The next tick finds an empty clipboard and does nothing.
    basMain::CheckClipoard();
    EXPECT_EQ(window.refreshes, refreshes);
    EXPECT_EQ(recipeCount(), 6);
}

TEST_F(ClipboardWatcher, CapturesTheProgramsOwnXml)
{
    const QString xml = program.path("cake.xml");
    samples::writeXml(xml, "Xml Cake");

    clipboard()->setText(QString::fromUtf8(readBytes(xml)));
    basMain::CheckClipoard();
    EXPECT_EQ(storedTitles(), QStringList{"Xml Cake"});
    EXPECT_FALSE(clipboardHasText());
}

TEST_F(ClipboardWatcher, AFailedReadPlaysTheOtherSoundAndStillEmptiesTheClipboard)
{
    soundsOn();
    QString cut = samples::mealMaster("Cut Pie");
    cut.truncate(cut.indexOf("MMMMM\r\n", 10)); // the end line is missing
    clipboard()->setText(cut);
    basMain::CheckClipoard();
    EXPECT_EQ(recorder.sounds, QStringList{"/sounds/no.wav"});
    EXPECT_FALSE(clipboardHasText());
    EXPECT_EQ(window.refreshes, 1);
}

TEST_F(ClipboardWatcher, CapturesAreSilentUnlessTheSwitchSaysExactlyTrue)
{
    WriteINI("Options", "Recognised Sound", "/sounds/yes.wav");
    clipboard()->setText(samples::mealMaster("Quiet Pie"));
    basMain::CheckClipoard();
    WriteINI("Options", "Play Recognised Sound", "true");
    clipboard()->setText(samples::mealMaster("Lower Case Pie"));
    basMain::CheckClipoard();
    EXPECT_EQ(recipeCount(), 2);
    EXPECT_TRUE(recorder.sounds.isEmpty());
}

TEST_F(ClipboardWatcher, TextThatIsNoRecipeIsLeftAlone)
{
    soundsOn();
    for (const QString text : {QString("Shopping: 2 eggs, flour"), QString("Recipe Via Compu-Chef"),
                               QString("MasterCook II exported it; Meal-Master did not")}) {
        clipboard()->setText(text);
        basMain::CheckClipoard();
        EXPECT_EQ(clipboard()->text(), text);
    }
    auto* picture = new QMimeData;
    picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
    clipboard()->setMimeData(picture);
    basMain::CheckClipoard();
    EXPECT_TRUE(clipboard()->mimeData() && clipboard()->mimeData()->hasImage());

    EXPECT_EQ(recipeCount(), 0);
    EXPECT_TRUE(recorder.sounds.isEmpty());
    EXPECT_EQ(window.refreshes, 0);
}

TEST_F(ClipboardWatcher, TouchesNothingWhileBusyOrADialogIsOpen)
{
    const QString recipe = samples::mealMaster("Waiting Pie");
    clipboard()->setText(recipe);
    {
        ui::BusyScope importRunning;
        basMain::CheckClipoard();
    }
    {
        QDialog dialog;
        dialog.setModal(true);
        dialog.show();
        ASSERT_TRUE(QApplication::activeModalWidget());
        basMain::CheckClipoard();
    }
    EXPECT_EQ(clipboard()->text(), recipe);
    EXPECT_EQ(recipeCount(), 0);
    EXPECT_EQ(window.refreshes, 0);

    basMain::CheckClipoard();
    EXPECT_EQ(recipeCount(), 1);
}

TEST_F(ClipboardWatcher, MakesTheTempFolderAndReportsWhatItCannotWrite)
{
    QDir(program.page()).removeRecursively();
    clipboard()->setText(samples::mealMaster("Temp Pie"));
    basMain::CheckClipoard();
    EXPECT_EQ(recipeCount(), 1);
    EXPECT_FALSE(QFile::exists(program.page("clip.tmp"))) << "the hand-over file goes once it is read";

    // The hand-over file cannot be written: logged, and the clipboard keeps the text for another try.
    QDir().mkpath(program.page("clip.tmp"));
    clipboard()->setText(samples::mealMaster("Blocked Pie"));
    basMain::CheckClipoard();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module CheckClipoard"));
    EXPECT_TRUE(clipboard()->text().contains("Blocked Pie"));
    EXPECT_EQ(recipeCount(), 1);
    EXPECT_FALSE(ui::isBusy());
}

} // namespace
