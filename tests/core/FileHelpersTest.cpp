#include "support/ScratchProgram.h"
#include "support/TestFiles.h"
#include "core/Helpers.h"

#include <gtest/gtest.h>

TEST(FileHelpers, FilesAndFoldersAreToldApart)
{
    ScratchProgram program(false);
    writeBytes(program.path("data/cookbooks/Family.tqc"), {});
    const QString file = program.path("data/cookbooks/Family.tqc");
    const QString folder = program.path("data/cookbooks");

    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FolderExists(file)) << "the folder test is true for a file too";
    EXPECT_FALSE(FileExists(folder));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(FileExists(program.path("DATA/Cookbooks/FAMILY.TQC")));
    EXPECT_TRUE(FolderExists(program.path("Data\\CookBooks")));
    EXPECT_FALSE(FileExists(program.path("data/cookbooks/Other.tqc")));
    EXPECT_FALSE(FolderExists(program.path("temp/email")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FolderExists(""));
}

TEST(FilterKey, LetsOnlyTheAllowedCharactersThrough)
{
    const QString times = "1234567890:";
    for (const char c : QByteArray("0123456789:"))
        EXPECT_EQ(FilterKey(c, times, true), c) << c;
    for (const char c : QByteArray("aZ .;-"))
        EXPECT_EQ(FilterKey(c, times, true), 0) << c;
    EXPECT_EQ(FilterKey(8, times, true), 8);
    EXPECT_EQ(FilterKey(8, times, false), 0);

    EXPECT_EQ(FilterKey('a', "abc", false), 'a');
    EXPECT_EQ(FilterKey('A', "abc", false), 'A');
    EXPECT_EQ(FilterKey('d', "abc", false), 0);
    EXPECT_EQ(FilterKey(0xE9, QString::fromUtf8("\u00c9"), false), 0xE9); // beyond ASCII too
    EXPECT_EQ(FilterKey(0, "abc", true), 0);
    EXPECT_EQ(FilterKey(-5, "abc", true), 0);
    EXPECT_EQ(FilterKey(0x1000003, "abc", true), 0); // no character
}
