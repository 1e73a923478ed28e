#include "support/ScratchProgram.h"
#include "support/TestFiles.h"
#include "support/UiRecorder.h"
#include "core/basMain.h"
#include "platform/AppError.h"
#include "platform/text/LineFile.h"

#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>
#include <stdexcept>

class LogErrorTest : public ::testing::Test {
protected:
    QByteArray log() const { return readBytes(program.path("error.log")); }
    ScratchProgram program{false};
    UiRecorder recorder;
};

TEST_F(LogErrorTest, RecordsAreAppendedThreeLinesEach)
{
    basMain::LogError(53, "File not found", "frmImport cmdImport");
    basMain::LogError(-2147217900, "Syntax error in INSERT INTO statement.", "cmdOK AddRecipe");
    basMain::LogError(0, "", "subroutine Main");

    EXPECT_EQ(log(), QByteArray("(53)\r\nFile not found\r\noccurred in module frmImport cmdImport\r\n"
                                "(-2147217900)\r\nSyntax error in INSERT INTO statement.\r\n"
                                "occurred in module cmdOK AddRecipe\r\n"
                                "(0)\r\n\r\noccurred in module subroutine Main\r\n"));
}

TEST_F(LogErrorTest, AnExistingLogIsOnlyAppendedTo)
{
    writeBytes(program.path("error.log"), "(5)\r\nold\r\noccurred in module CmdClear\r\n");
    basMain::LogError(13, QString::fromUtf8("Type mismatch \u2013 caf\u00e9"), "CmdSearch");
    EXPECT_EQ(log(), QByteArray("(5)\r\nold\r\noccurred in module CmdClear\r\n"
                                "(13)\r\nType mismatch \xe2\x80\x93 caf\xc3\xa9\r\noccurred in module CmdSearch\r\n"));
}

TEST_F(LogErrorTest, EachErrorIsShownInItsOwnBox)
{
    basMain::LogError(76, "Path not found", "Function DisplayRecipe");
    basMain::LogError(-1, "", "CheckClipoard");

    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[0].text, "(76)\r\nPath not found\r\noccurred in module Function DisplayRecipe");
    EXPECT_EQ(recorder.boxes[1].text, "(-1)\r\n\r\noccurred in module CheckClipoard");
    for (const RecordedBox& box : recorder.boxes) {
        EXPECT_EQ(box.title, "Tovalquendry Error");
        EXPECT_EQ(box.icon, ui::Icon::Exclamation);
        EXPECT_EQ(box.buttons, ui::Buttons::OK);
    }
}

TEST_F(LogErrorTest, FilesTheCallerHeldOpenAreClosed)
{
    writeBytes(program.path("temp/clip.tmp"), "line one\r\nline two\r\n");
    text::LineReader reader(program.path("temp/clip.tmp"));
    reader.readLine();
    text::LineWriter writer(program.path("temp/export.mmf"));
    writer.writeLine("written before the error");

    basMain::LogError(62, "Input past end of file", "ExportTovalquendry");

    EXPECT_THROW(reader.atEnd(), AppError);
    EXPECT_THROW(reader.readLine(), AppError);
    EXPECT_THROW(writer.writeLine("after"), AppError);
    EXPECT_FALSE(QFile::exists(program.path("temp/export.mmf"))); // an export cut short leaves no file
}

TEST_F(LogErrorTest, TheWaitCursorGoesAndAnUnwritableLogStillShowsTheBox)
{
    ui::WaitCursor busy;
    ASSERT_TRUE(QDir().mkpath(program.path("error.log"))); // a folder where the log should be
    basMain::LogError(75, "Path/File access error", "frmEmail load");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry Error");
}

TEST_F(LogErrorTest, RunHandlerReportsEveryKindOfFailure)
{
    EXPECT_TRUE(basMain::RunHandler("quiet", [] {}));
    EXPECT_FALSE(basMain::RunHandler("own", [] { throw AppError(76, "Path not found"); }));
    EXPECT_FALSE(basMain::RunHandler("std", [] { throw std::runtime_error("disk gone"); }));
    EXPECT_FALSE(basMain::RunHandler("other", [] { throw 42; }));
    ASSERT_EQ(recorder.boxes.size(), 3);
    EXPECT_EQ(recorder.boxes[0].text, "(76)\r\nPath not found\r\noccurred in module own");
    EXPECT_EQ(recorder.boxes[1].text, "(51)\r\nInternal error: disk gone\r\noccurred in module std");
    EXPECT_EQ(recorder.boxes[2].text, "(51)\r\nInternal error\r\noccurred in module other");
}
