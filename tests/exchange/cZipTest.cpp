#include "exchange/cZip.h"

#include "platform/AppError.h"
#include "support/TestFiles.h"
#include "support/ZipReadBack.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

int RaisedNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AppError& e) {
        return e.number;
    }
    return 0;
}

TEST(cZipList, KeepsEachSpecOnceWhateverItsLetterCase)
{
    cZip zip;
    EXPECT_EQ(zip.ZipFileCount(), 0);
    EXPECT_EQ(zip.RootDirectory(), "\\");
    EXPECT_FALSE(zip.RecurseFolders() || zip.UpdatingZip() || zip.Encrypted() || zip.IncludeSystemFiles());

    zip.AddFile("C:\\Temp\\Email\\*.*");
    const struct {
        QString pattern;
        std::function<void()> action;
        int raised;
    } cases[] = {
        {"same pattern", [&] { zip.AddFile("C:\\Temp\\Email\\*.*"); }, cZip::ErrAlreadyInList},
        {"other case", [&] { zip.AddFile("c:\\temp\\email\\*.*"); }, cZip::ErrAlreadyInList},
        {"placeholder", [&] { zip.AddFile("QUERTY"); }, cZip::ErrAlreadyInList},
        {"never added", [&] { zip.RemoveFile("a.txt"); }, cZip::ErrNotInList},
        {"placeholder kept", [&] { zip.RemoveFile("querty"); }, cZip::ErrNotInList},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RaisedNumber(c.action), c.raised) << c.pattern.toStdString();
        EXPECT_EQ(zip.ZipFileCount(), 1) << c.pattern.toStdString();
    }
    zip.RemoveFile("C:\\TEMP\\EMAIL\\*.*");
    EXPECT_EQ(zip.ZipFileCount(), 0);

    for (int i = 0; i < 100; ++i)
        zip.AddFile(QString("f%1").arg(i));
    EXPECT_EQ(RaisedNumber([&] { zip.MakeZipFile(); }), 9);
}

class cZipArchive : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.path() + '/' + name; }
    QTemporaryDir dir;
};

TEST_F(cZipArchive, PacksEveryFileOfTheFolderUnderItsBareName)
{
    QByteArray picture(20000, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char(i * 7919 % 251);
    writeBytes(path("email/recipe1.html"), "<img src=\"1.jpg\">\r\n");
    writeBytes(path("email/1.jpg"), picture);
    writeBytes(path("email/NoExtension"), "x");
    writeBytes(path("email/2\r\n.png"), "a name from data, line break and all");
    writeBytes(path("email/sub/deeper.txt"), "below");
    writeBytes(path("email/recipes.zip"), "an old archive of the same name");

    cZip zip;
    zip.setZipFileName(path("email/recipes.ZIP")); // matches the old archive without regard to case
    zip.AddFile(path("Email\\*.*"));
    ASSERT_EQ(zip.MakeZipFile(), 0) << zip.GetLastMessage().toStdString();

    // An entry's name is one line, whatever the file's name held.
    const ZipEntries expected{{"1.jpg", picture},
                              {"2.png", "a name from data, line break and all"},
                              {"NoExtension", "x"},
                              {"recipe1.html", "<img src=\"1.jpg\">\r\n"}};
    EXPECT_EQ(readZip(readBytes(path("email/recipes.zip"))), expected);

    cZip deep;
    deep.setZipFileName(path("deep.zip"));
    deep.setRecurseFolders(true);
    deep.AddFile(path("email/*.txt"));
    ASSERT_EQ(deep.MakeZipFile(), 0);
    EXPECT_EQ(readZip(readBytes(path("deep.zip"))), (ZipEntries{{"sub/deeper.txt", "below"}}));
}

TEST_F(cZipArchive, AFailedCallSaysWhyAndNeverReportsSuccess)
{
    writeBytes(path("in/a.txt"), "a");
    cZip zip;
    zip.AddFile(path("in/*.*"));

    zip.setZipFileName(path("missing-folder/out.zip"));
    EXPECT_NE(zip.MakeZipFile(), 0);
    EXPECT_TRUE(zip.GetLastMessage().contains("could not")) << zip.GetLastMessage().toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("missing-folder/out.zip")));

    cZip nothing;
    nothing.setZipFileName(path("out.zip"));
    nothing.AddFile(path("empty/*.*"));
    EXPECT_EQ(nothing.MakeZipFile(), 12);
    EXPECT_TRUE(nothing.GetLastMessage().contains("name not matched")) << nothing.GetLastMessage().toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("out.zip")));

    // The next call's messages replace the last one's.
    zip.setZipFileName(path("out.zip"));
    EXPECT_EQ(zip.MakeZipFile(), 0);
    EXPECT_FALSE(zip.GetLastMessage().contains("not matched"));
    EXPECT_EQ(readZip(readBytes(path("out.zip"))), (ZipEntries{{"a.txt", "a"}}));
}

// A long archive call tells how far it got and stops when asked, between files and inside a large one,
// leaving no archive behind.
TEST_F(cZipArchive, PackingFollowsProgressAndStopsWhenCancelled)
{
    QByteArray noise(3 * 1024 * 1024, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 2654435761u) >> 13);
    for (int i = 0; i < 4; ++i)
        writeBytes(path(QString("in/%1.jpg").arg(i)), noise);

    const struct {
        const char* name;
        double stopAt; // cancel once progress passed this; above 1 never
        long result;
    } cases[] = {
        {"left to finish", 2.0, 0},
        {"cancelled inside the first file", 0.05, 9},
        {"cancelled in a later file", 0.5, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path("out.zip"));
        QList<double> seen;
        int asked = 0;
        zipfile::Watch watch;
        watch.progress = [&](double done) { seen << done; };
        watch.cancelled = [&] { ++asked; return !seen.isEmpty() && seen.last() > c.stopAt; };
        cZip zip;
        zip.setZipFileName(path("out.zip"));
        zip.AddFile(path("in/*.*"));
        zip.setWatch(&watch);
        EXPECT_EQ(zip.MakeZipFile(), c.result) << zip.GetLastMessage().toStdString();
        ASSERT_FALSE(seen.isEmpty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_EQ(QFileInfo::exists(path("out.zip")), c.result == 0);
        EXPECT_EQ(QDir(dir.path()).entryList({"out.zip*"}, QDir::Files | QDir::Hidden).size(), c.result == 0 ? 1 : 0);
        if (c.result == 0) {
            EXPECT_EQ(seen.last(), 1.0);
            EXPECT_EQ(readZip(readBytes(path("out.zip"))).size(), 4);
        } else {
            EXPECT_LT(seen.last(), c.stopAt + 0.1) << "packing went on after Cancel";
        }
    }
}

} // namespace
