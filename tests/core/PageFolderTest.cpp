// Start-up cleans "temp" of the folders of instances that have ended, and nothing else: a link is never
// followed, a folder the program did not make is left alone, and nothing outside "temp" is touched, even
// when "temp" itself is a link to a shared folder.
#include "core/PageFolder.h"

#include "support/ScratchProgram.h"
#include "support/SecondProcess.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

void Link(const QString& target, const QString& link)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0)
        << link.toStdString();
}

// A folder of someone's own: files and a sub-folder with files.
void FillFolder(const QString& folder)
{
    QDir().mkpath(folder + "/Sub/Deeper");
    writeBytes(folder + "/letter.txt", "Dear Ann");
    writeBytes(folder + "/1.html", "a page of mine");
    writeBytes(folder + "/Sub/photo.jpg", "JPEG");
    writeBytes(folder + "/Sub/Deeper/notes.txt", "notes");
    writeBytes(folder + "/" + pagefolder::lockFileName(), "not the program's");
}

QStringList Tree(const QString& folder)
{
    QStringList names;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        names << path.mid(folder.size()) + ":" + (QFileInfo(path).isFile() ? readBytes(path) : "");
    }
    names.sort();
    return names;
}

// An instance that was killed: its folder stays under "temp" with its lock free.
QString KilledInstanceFolder(const ScratchProgram& program, const QString& cookbook, qint64 id)
{
    SecondProcess other({"page", program.path(), cookbook, "R" + QString::number(id)});
    const QString line = other.readLine();
    EXPECT_TRUE(line.startsWith("page ")) << line.toStdString();
    other.kill();
    return QFileInfo(line.mid(5)).path();
}

TEST(PageFolder, StartUpEmptiesOnlyFoldersItMadeAndNeverFollowsALink)
{
    ScratchProgram program;
    const QString cookbook = program.createCookbook();
    const qint64 id = ScratchProgram::addRecipe("Soup");
    QTemporaryDir outside;
    const QString documents = outside.path() + "/Documents";
    FillFolder(documents);
    const QStringList documentsBefore = Tree(documents);

    const QString temp = program.path("temp");
    const QString stale = KilledInstanceFolder(program, cookbook, id);
    ASSERT_TRUE(QFileInfo(stale).isDir());
    Link(documents, stale + "/linked"); // inside a folder of ours: goes as a link
    Link(documents, temp + "/424242");  // an instance's name, but a link
    FillFolder(temp + "/434343");       // an instance's name, but not ours
    const QStringList notOursBefore = Tree(temp + "/434343");

    pagefolder::start();
    EXPECT_FALSE(QFileInfo::exists(stale)) << "the folder of an instance that ended goes";
    EXPECT_EQ(Tree(documents), documentsBefore);
    EXPECT_TRUE(QFileInfo(temp + "/424242").isSymLink()) << "a link is left as it is";
    EXPECT_EQ(Tree(temp + "/434343"), notOursBefore);
    const QString mine = pagefolder::path();
    EXPECT_EQ(QFileInfo(mine).path(), temp);
    EXPECT_TRUE(QFileInfo(mine).isDir() && !QFileInfo(mine).isSymLink());

    pagefolder::remove();
    EXPECT_FALSE(QFileInfo::exists(mine));
    EXPECT_EQ(Tree(documents), documentsBefore);
    EXPECT_EQ(Tree(temp + "/434343"), notOursBefore);
}

TEST(PageFolder, ATempFolderThatIsALinkToASharedFolderLosesNothing)
{
    ScratchProgram program;
    const QString cookbook = program.createCookbook();
    const qint64 id = ScratchProgram::addRecipe("Soup");
    QTemporaryDir outside;
    const QString shared = outside.path() + "/Shared";
    const QString ownId = QString::number(QCoreApplication::applicationPid());
    FillFolder(shared + "/2024");
    FillFolder(shared + "/" + ownId); // even this instance's own name
    writeBytes(shared + "/12345", "a file with an instance's name");
    const QStringList before = Tree(shared);
    pagefolder::remove();
    ASSERT_TRUE(QDir(program.path("temp")).removeRecursively());
    Link(shared, program.path("temp"));

    pagefolder::start();
    const QString mine = pagefolder::path();
    EXPECT_TRUE(QFileInfo(mine).isDir());
    EXPECT_NE(mine, program.path("temp/" + ownId)) << "a folder of that name that is not ours is not taken";
    QStringList withMine = Tree(shared);
    withMine.removeIf([&](const QString& entry) { return entry.startsWith("/" + QFileInfo(mine).fileName()); });
    EXPECT_EQ(withMine, before);

    // Another instance that ended beside it goes; the shared folder's own folders stay.
    const QString stale = KilledInstanceFolder(program, cookbook, id);
    pagefolder::removeStale();
    EXPECT_FALSE(QFileInfo::exists(stale));
    pagefolder::remove();
    EXPECT_FALSE(QFileInfo::exists(mine));
    EXPECT_EQ(Tree(shared), before);
}

} // namespace
