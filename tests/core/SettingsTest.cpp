#include "support/ScratchProgram.h"
#include "support/TestFiles.h"
#include "core/Settings.h"

#include <QFile>
#include <gtest/gtest.h>

class Settings : public ::testing::Test {
protected:
    QString ini() const { return program.path("TQSettings.ini"); }
    ScratchProgram program{false};
};

TEST_F(Settings, AMissingFileReadsEmptyAndIsNotCreatedByReading)
{
    EXPECT_EQ(ReadINI("Options", "Display Splash Screen"), "");
    EXPECT_EQ(ReadINI("Size", "Main Window Left"), "");
    EXPECT_FALSE(QFile::exists(ini()));
}

TEST_F(Settings, ValuesReadBackExactlyAsWritten)
{
    const QString values[] = {
        "True",
        "",
        "  leading and trailing blanks  ",
        "\"quoted\"",
        "'single quoted'",
        "\"",
        "a=b; not a comment",
        "[Size]",
        "C:\\Program Files\\Tovalquendry\\templates\\default.html",
        QString::fromUtf8("Cr\u00e8me Br\u00fbl\u00e9e \u2013 \u20ac"),
        QString(300, 'x'),
    };
    int i = 0;
    for (const QString& v : values)
        WriteINI("Options", QString("Key %1").arg(i++), v);
    i = 0;
    for (const QString& v : values)
        EXPECT_EQ(ReadINI("Options", QString("Key %1").arg(i++)), v) << v.toStdString();
}

TEST_F(Settings, WritingReplacesOnlyItsOwnKey)
{
    WriteINI("Options", "Open Last", "True");
    WriteINI("Size", "Main Window Left", "120");
    WriteINI("Options", "Last CookBook", "Family.tqc");
    WriteINI("options", "OPEN LAST", "False");   // same key, other letter case: the key stays as written
    WriteINI("Size", "Open Last", "in another section");
    WriteINI("Options", "Empty", "");

    EXPECT_EQ(readBytes(ini()), QByteArray("[Options]\r\n"
                                          "Open Last=False\r\n"
                                          "Last CookBook=Family.tqc\r\n"
                                          "Empty=\r\n"
                                          "[Size]\r\n"
                                          "Main Window Left=120\r\n"
                                          "Open Last=in another section\r\n"));
    EXPECT_EQ(ReadINI("Options", "Open Last"), "False");
    EXPECT_EQ(ReadINI("SIZE", "open last"), "in another section");
    EXPECT_EQ(ReadINI("Options", "Empty"), "");
}

TEST_F(Settings, LineBreaksAreRefusedAndNothingIsWritten)
{
    WriteINI("Options", "Senders Name", "Ann");
    const QByteArray before = readBytes(ini());
    WriteINI("Options", "Senders Name", "Ann\r\n[Options]\r\nOpen Last=True");
    WriteINI("Options", "Senders Name", "line\nbreak");
    WriteINI("Options", "Senders Name", "carriage\rreturn");
    WriteINI("Options", "New\nKey", "x");
    WriteINI("Opt\rions", "Key", "x");
    EXPECT_EQ(readBytes(ini()), before);
    EXPECT_EQ(ReadINI("Options", "Senders Name"), "Ann");
    EXPECT_EQ(ReadINI("Options", "Open Last"), "");
}

TEST_F(Settings, FilesWrittenOnWindowsReadCorrectly)
{
    writeBytes(ini(), "; written by hand\r\n"
                     "[OPTIONS]\r\n"
                     "Display Splash Screen = False \r\n"
                     "  HTML Template=\"C:\\Tovalquendry\\templates\\my page.html\"\r\n"
                     "Senders Name='Ren\xe9 \x93" "Chef\x94 Dupont'\r\n"
                     "Open Last=\r\n"
                     "\r\n"
                     "[size]\r\n"
                     "main window left=1440\r\n"
                     "Horizontal Panel=2000");
    EXPECT_EQ(ReadINI("Options", "Display Splash Screen"), "False");
    EXPECT_EQ(ReadINI("Options", "HTML Template"), "C:\\Tovalquendry\\templates\\my page.html");
    EXPECT_EQ(ReadINI("Options", "Senders Name"), QString::fromUtf8("Ren\u00e9 \u201cChef\u201d Dupont"));
    EXPECT_EQ(ReadINI("Options", "Open Last"), "");
    EXPECT_EQ(ReadINI("Size", "Main Window Left"), "1440");
    EXPECT_EQ(ReadINI("Size", "Horizontal Panel"), "2000");
    EXPECT_EQ(ReadINI("Size", "Display Splash Screen"), "");

    // A write keeps every other setting, the comment and the accented name.
    WriteINI("Size", "Vertical Panel", "3000");
    WriteINI("Options", "Open Last", "True");
    EXPECT_EQ(ReadINI("Options", "Senders Name"), QString::fromUtf8("Ren\u00e9 \u201cChef\u201d Dupont"));
    EXPECT_EQ(ReadINI("Options", "Open Last"), "True");
    EXPECT_EQ(ReadINI("Size", "Vertical Panel"), "3000");
    EXPECT_EQ(ReadINI("Size", "Horizontal Panel"), "2000");

    // Every other byte stays as it was: the key's spelling, the blanks, the Windows-1252 text; the new
    // value is written in the file's own code page.
    WriteINI("Options", "senders name", QString::fromUtf8("Zoë"));
    WriteINI("Options", "DISPLAY SPLASH SCREEN", "True");
    EXPECT_EQ(readBytes(ini()), QByteArray("; written by hand\r\n"
                                           "[OPTIONS]\r\n"
                                           "Display Splash Screen = True\r\n"
                                           "  HTML Template=\"C:\\Tovalquendry\\templates\\my page.html\"\r\n"
                                           "Senders Name=Zo\xeb\r\n"
                                           "Open Last=True\r\n"
                                           "\r\n"
                                           "[size]\r\n"
                                           "main window left=1440\r\n"
                                           "Horizontal Panel=2000\r\n"
                                           "Vertical Panel=3000\r\n"));
    EXPECT_EQ(ReadINI("Options", "Senders Name"), QString::fromUtf8("Zoë"));
}

TEST_F(Settings, AWriteKeepsTheFilesLineEndsAndAValueBeyondItsCodePageKeepsEveryText)
{
    writeBytes(ini(), "[Options]\nSenders Name=Ren\xe9\nOpen Last=False\n");
    WriteINI("Options", "Open Last", "True");
    WriteINI("View", "Toolbar Visible", "False");
    EXPECT_EQ(readBytes(ini()), "[Options]\nSenders Name=Ren\xe9\nOpen Last=True\n[View]\nToolbar Visible=False\n");

    // A name Windows-1252 cannot hold: the file becomes UTF-8 as a whole, so both names read back.
    const QString kanji = QString::fromUtf8("漢字");
    WriteINI("Options", "Last CookBook", kanji + ".tqc");
    EXPECT_EQ(ReadINI("Options", "Senders Name"), QString::fromUtf8("René"));
    EXPECT_EQ(ReadINI("Options", "Last CookBook"), kanji + ".tqc");
    EXPECT_EQ(readBytes(ini()), QByteArray("[Options]\nSenders Name=Ren\xc3\xa9\nOpen Last=True\nLast CookBook=") +
                                    (kanji + ".tqc").toUtf8() + "\n[View]\nToolbar Visible=False\n");

    // A file that starts with a byte-order mark: its first section is found as reading finds it.
    writeBytes(ini(), "\xEF\xBB\xBF[Options]\r\nOpen Last=False\r\n");
    WriteINI("Options", "Open Last", "True");
    EXPECT_EQ(readBytes(ini()), "\xEF\xBB\xBF[Options]\r\nOpen Last=True\r\n");
}

TEST(SettingsBoolean, ConvertsAnyLetterCaseAndNumbers)
{
    struct Case {
        const char* text;
        bool ok;
        bool value;
    };
    const Case cases[] = {{"True", true, true},   {"true", true, true},  {"FALSE", true, false}, {"0", true, false},
                          {"-1", true, true},     {" 2 ", true, true},   {"", false, false},     {"yes", false, false}};
    for (const Case& c : cases) {
        bool ok = !c.ok;
        EXPECT_EQ(toBoolean(c.text, &ok), c.value) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
    }
}
