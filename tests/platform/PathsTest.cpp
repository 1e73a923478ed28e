#include "platform/paths/ProgramFolder.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class ProgramPaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = dir.path();
        QDir().mkpath(root + "/Data/CookBooks");
        writeBytes(root + "/Data/CookBooks/Family.TQC", {});
        paths::setProgramFolder(root);
    }
    QTemporaryDir dir;
    QString root;
};

TEST_F(ProgramPaths, ExistingNamesMatchWithoutRegardToCase)
{
    EXPECT_EQ(paths::resolve("\\data\\cookbooks\\family.tqc"), root + "/Data/CookBooks/Family.TQC");
    EXPECT_EQ(paths::resolve("\\DATA\\COOKBOOKS\\"), root + "/Data/CookBooks/");
    EXPECT_EQ(paths::resolve("/data/cookbooks/FAMILY.tqc"), root + "/Data/CookBooks/Family.TQC");
    EXPECT_EQ(paths::resolve("\\data\\\\cookbooks"), root + "/Data/CookBooks"); // doubled separator
    EXPECT_EQ(paths::resolveAbsolute(root + "\\data\\cookbooks\\family.tqc"), root + "/Data/CookBooks/Family.TQC");
}

TEST_F(ProgramPaths, NewNamesKeepTheSpellingGiven)
{
    EXPECT_EQ(paths::resolve("\\data\\cookbooks\\New Book.tqc"), root + "/Data/CookBooks/New Book.tqc");
    EXPECT_EQ(paths::resolve("\\temp\\email\\"), root + "/temp/email/");
    // Below a name that does not exist nothing is looked up, even when a later name would match.
    EXPECT_EQ(paths::resolve("\\Missing\\data"), root + "/Missing/data");
    EXPECT_EQ(paths::resolve(""), root);
}

TEST_F(ProgramPaths, AnExactMatchWinsOverOtherSpellings)
{
    QDir().mkpath(root + "/temp");
    QDir().mkpath(root + "/Temp");
    EXPECT_EQ(paths::resolve("\\temp"), root + "/temp");
    EXPECT_EQ(paths::resolve("\\Temp"), root + "/Temp");
}

TEST(BareFileName, KeepsOnlyTheLastComponent)
{
    struct Case {
        const char* name;
        const char* bare;
        const char* extension;
    };
    const Case cases[] = {
        {"cake.jpg", "cake.jpg", ".jpg"},
        {"C:\\My Pictures\\cake.JPG", "cake.JPG", ".JPG"},
        {"../../etc/passwd", "passwd", ""},
        {"..\\..\\Windows\\win.ini", "win.ini", ".ini"},
        {"pictures/holiday.tar.gz", "holiday.tar.gz", ".gz"},
        {"folder/", "", ""},
        {"..", "", ""},
        {".", "", ""},
        {"a\\..", "", ""},
        {"", "", ""},
        {".hidden", ".hidden", ".hidden"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(paths::bareFileName(c.name), QString(c.bare)) << c.name;
        EXPECT_EQ(paths::extensionOf(c.name), QString(c.extension)) << c.name;
    }
}
