// Opening and closing the current cookbook: the caption, "Last CookBook", and the reset of the main window.
#include "CookbookTestWindow.h"
#include "core/Settings.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "support/ScratchProgram.h"
#include "support/TestFiles.h"
#include "support/UiRecorder.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace basDatabase;

namespace {

QString versionCaption()
{
    return QString("Tovalquendry - Version %1.%2.%3")
        .arg(basMain::versionMajor())
        .arg(basMain::versionMinor())
        .arg(basMain::versionRevision());
}

class OpenCookbookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateCookbook("Family.tqc");
        CreateCookbook("Garden.tqc");
        ASSERT_TRUE(recorder.boxes.isEmpty());
    }

    void writeFile(const QString& name, const QByteArray& bytes)
    {
        writeBytes(program.path("data/cookbooks/" + name), bytes);
    }

    void expectClosed()
    {
        EXPECT_EQ(sCurrentCookbook, "");
        EXPECT_FALSE(cnCookbook.isOpen());
    }

    ScratchProgram program{false};
    UiRecorder recorder;
    CookbookTestWindow window;
};

TEST_F(OpenCookbookTest, CaptionNamesTheCookbookWhenItHasAName)
{
    ASSERT_TRUE(OpenCookbook("Family.tqc"));
    EXPECT_EQ(window.caption(), versionCaption() + " (Family.tqc)");
    EXPECT_EQ(sCurrentCookbook, "Family.tqc");
    EXPECT_EQ(ReadINI("Options", "Last CookBook"), "Family.tqc");
    EXPECT_TRUE(cnCookbook.isOpen());

    // The first row names the cookbook, stored as typed.
    cnCookbook.exec("INSERT INTO IDENTIFIER (NAME, DESCRIPTION) VALUES ('Mum''s Kitchen', 'Sunday food')");
    cnCookbook.exec("INSERT INTO IDENTIFIER (NAME, DESCRIPTION) VALUES ('Second row', '')");
    ASSERT_TRUE(OpenCookbook("Family.tqc"));
    EXPECT_EQ(window.caption(), versionCaption() + " Cookbook : Mum's Kitchen (Family.tqc)");
}

TEST_F(OpenCookbookTest, EmptyNameChangesNothing)
{
    ASSERT_TRUE(OpenCookbook("Family.tqc"));
    const QString caption = window.caption();
    EXPECT_FALSE(OpenCookbook(""));
    EXPECT_EQ(sCurrentCookbook, "Family.tqc");
    EXPECT_TRUE(cnCookbook.isOpen());
    EXPECT_EQ(window.caption(), caption);
    EXPECT_EQ(window.resets, 0);
    EXPECT_EQ(ReadINI("Options", "Last CookBook"), "Family.tqc");
}

TEST_F(OpenCookbookTest, OpeningResetsTheWindowFirstEvenForTheOpenCookbook)
{
    ASSERT_TRUE(OpenCookbook("Family.tqc"));
    window.addItem(1, "Pie", true);
    ASSERT_TRUE(OpenCookbook("Garden.tqc"));
    EXPECT_EQ(window.resets, 1);
    EXPECT_EQ(window.lstVRecipes()->count(), 0);
    EXPECT_EQ(sCurrentCookbook, "Garden.tqc");
    EXPECT_EQ(cnCookbook.path(), program.path("data/cookbooks/Garden.tqc"));
    EXPECT_EQ(ReadINI("Options", "Last CookBook"), "Garden.tqc");

    ASSERT_TRUE(OpenCookbook("Garden.tqc"));
    EXPECT_EQ(window.resets, 2);
    EXPECT_EQ(sCurrentCookbook, "Garden.tqc");
    EXPECT_TRUE(cnCookbook.isOpen());
    EXPECT_EQ(window.caption(), versionCaption() + " (Garden.tqc)");

    // The name is matched without regard to letter case.
    ASSERT_TRUE(OpenCookbook("FAMILY.TQC"));
    EXPECT_EQ(cnCookbook.path(), program.path("data/cookbooks/Family.tqc"));
}

TEST_F(OpenCookbookTest, MissingFileClosesTheOpenCookbookAndCreatesNothing)
{
    ASSERT_TRUE(OpenCookbook("Family.tqc"));
    EXPECT_FALSE(OpenCookbook("Nowhere.tqc"));
    expectClosed();
    EXPECT_EQ(window.resets, 1);
    EXPECT_EQ(ReadINI("Options", "Last CookBook"), "Family.tqc");
    EXPECT_FALSE(QFile::exists(program.path("data/cookbooks/Nowhere.tqc")));
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

TEST_F(OpenCookbookTest, ANameWithAFolderPartIsAMissingCookbook)
{
    // Real cookbooks just outside the cookbooks folder, reachable by a name from the settings file.
    QFile::copy(program.path("data/cookbooks/Garden.tqc"), program.path("data/Outside.tqc"));
    QFile::copy(program.path("data/cookbooks/Garden.tqc"), program.path("Top.tqc"));
    const QByteArray outside = readBytes(program.path("data/Outside.tqc"));
    for (const QString& name : QStringList{"../Outside.tqc", "..\\Outside.tqc", "../../Top.tqc", "sub/../Family.tqc", "..",
                                           program.path("data/cookbooks/Family.tqc")}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(OpenCookbook("Family.tqc"));
        EXPECT_FALSE(OpenCookbook(name));
        expectClosed();
        EXPECT_EQ(ReadINI("Options", "Last CookBook"), "Family.tqc");
    }
    EXPECT_EQ(readBytes(program.path("data/Outside.tqc")), outside);
}

TEST_F(OpenCookbookTest, FileThatIsNotACookbookIsRefusedAndLeftAlone)
{
    {
        db::Connection other;
        other.create(program.path("data/cookbooks/Notes.tqc"));
        other.exec("CREATE TABLE Notes (Text TEXT)");
    }
    QByteArray damaged = readBytes(program.path("data/cookbooks/Garden.tqc"));
    damaged.replace(100, damaged.size() - 100, QByteArray(damaged.size() - 100, '\xAA'));
    writeFile("Damaged.tqc", damaged);
    writeFile("Text.tqc", "Title: Pie\r\nBake it.\r\n");
    writeFile("Empty.tqc", "");
    const QByteArray whole = readBytes(program.path("data/cookbooks/Garden.tqc"));
    writeFile("Short.tqc", whole.left(whole.size() / 2));

    for (const QString name : {"Notes.tqc", "Damaged.tqc", "Text.tqc", "Empty.tqc", "Short.tqc"}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = program.path("data/cookbooks/" + name);
        const QByteArray before = readBytes(path);
        ASSERT_TRUE(OpenCookbook("Family.tqc"));
        window.resets = 0;

        // Raised to the caller, who reports it, after the open cookbook was closed.
        EXPECT_THROW(OpenCookbook(name), AppError);
        expectClosed();
        EXPECT_EQ(window.resets, 1);
        EXPECT_EQ(ReadINI("Options", "Last CookBook"), "Family.tqc");
        EXPECT_EQ(readBytes(path), before);
    }
}

TEST_F(OpenCookbookTest, CloseResetsTheWindowOnlyWhenACookbookIsOpen)
{
    CloseCookbook();
    EXPECT_EQ(window.resets, 0);

    ASSERT_TRUE(OpenCookbook("Family.tqc"));
    CloseCookbook();
    EXPECT_EQ(window.resets, 1);
    expectClosed();
    CloseCookbook();
    EXPECT_EQ(window.resets, 1);
}

} // namespace
