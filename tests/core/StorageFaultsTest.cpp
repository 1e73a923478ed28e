// Cookbook storage under faults: another instance holding the write lock, another program writing during a compaction,
// a full disk, and the leftovers of a compaction that was killed.
#include "core/CompactCookbook.h"
#include "CookbookManagerSupport.h"
#include "SmallDisk.h"
#include "support/ScratchProgram.h"
#include "support/SecondProcess.h"
#include "support/TestQueries.h"
#include "support/UiRecorder.h"

#include <QDir>
#include <gtest/gtest.h>
#include <string>

using namespace basDatabase;

namespace {

class StorageFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedTimeout = db::busyTimeout();
        db::setBusyTimeout(200);
    }
    void TearDown() override { db::setBusyTimeout(savedTimeout); }

    QString cookbook(const QString& file) const { return program.path("data/cookbooks/" + file); }
    // The files in the cookbooks folder, hidden ones too, but for the lock files instances share.
    QStringList cookbookFiles() const
    {
        QStringList files = QDir(program.path("data/cookbooks")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        files.removeIf([](const QString& name) { return name.startsWith('.') && name.endsWith(".lock"); });
        return files;
    }
    static qint64 marked() { return scalar(cnCookbook, "SELECT count(*) FROM RECIPES WHERE MARK=1"); }

    int savedTimeout = 0;
    ScratchProgram program;
    UiRecorder recorder;
    RecordingWindow window;
};

// Another program (a process of its own) in the middle of a write beyond the wait: bulk writes and
// compaction end cleanly, saying who holds the cookbook.
TEST_F(StorageFaults, AnotherProgramHoldingTheWriteLockMakesBulkWritesFailCleanly)
{
    MakeCookbook("Family.tqc", "Family", "", 60, 40);
    ASSERT_TRUE(OpenCookbook("Family.tqc"));
    cnCookbook.exec("UPDATE RECIPES SET MARK=1");
    const QString locked = "Another program is using the cookbook (database is locked)";

    {
        SecondProcess other({"hold", cookbook("Family.tqc")});
        ASSERT_EQ(other.readLine(), "held");
        try {
            ClearAllMarks();
            ADD_FAILURE() << "clearing the marks under another's write lock succeeded";
        } catch (const AppError& e) {
            EXPECT_TRUE(db::isStorageFailure(e)) << e.number;
            EXPECT_EQ(e.number, -5);
            EXPECT_EQ(e.description, locked);
        }
        EXPECT_EQ(marked(), 20);

        CloseCookbook();
        const QByteArray before = readBytes(cookbook("Family.tqc"));
        try {
            CompactCookbookFile("Family.tqc");
            ADD_FAILURE() << "compacting under another's write lock succeeded";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number, -5);
            EXPECT_EQ(e.description, locked);
        }
        EXPECT_EQ(readBytes(cookbook("Family.tqc")), before);
        EXPECT_EQ(cookbookFiles(), QStringList{"Family.tqc"}) << "no copy is left behind";
    }

    // Once the lock is gone, both go through.
    const qint64 size = QFileInfo(cookbook("Family.tqc")).size();
    CompactCookbookFile("Family.tqc");
    EXPECT_LT(QFileInfo(cookbook("Family.tqc")).size(), size);
    ASSERT_TRUE(OpenCookbook("Family.tqc"));
    ClearAllMarks();
    EXPECT_EQ(marked(), 0);
}

// Another program saving recipes (a process of its own: a thread would share SQLite's in-process locks
// and could not show a lock this process drops) while the cookbook is compacted again and again: every
// save it was told succeeded is in the compacted file, and the file is whole.
TEST_F(StorageFaults, AnotherProgramSavingDuringCompactionLosesNoSaveAndLeavesTheFileWhole)
{
    // The compaction waits out the other program's short holds however slow a busy disk makes them (a save
    // of the other side that waits too long only fails, and is not counted as saved).
    db::setBusyTimeout(30000);
    for (int run = 0; run < 20; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const QString file = QString("Race%1.tqc").arg(run);
        MakeCookbook(file, "Race", "", 300, 200);
        const QString stop = program.path(QString("stop%1").arg(run));
        SecondProcess writer({"writer", cookbook(file), stop});
        ASSERT_TRUE(writer.readLine().startsWith("saved ")) << "the other program is saving";

        for (int round = 0; round < 3; ++round)
            EXPECT_NO_THROW(CompactCookbookFile(file)) << round;
        writeBytes(stop, "");
        const QStringList lines = writer.finish();

        db::Connection check;
        check.open(cookbook(file));
        db::Query integrity(check, "PRAGMA integrity_check");
        ASSERT_TRUE(integrity.next());
        EXPECT_EQ(integrity.value(0).toString(), "ok");
        for (const QString& line : lines) {
            ASSERT_TRUE(line.startsWith("saved ")) << line.toStdString();
            const QString title = line.mid(6);
            EXPECT_EQ(scalar(check, "SELECT count(*) FROM RECIPES WHERE TITLE=?1", {title}), 1) << title.toStdString();
        }
    }
    EXPECT_EQ(cookbookFiles().filter(".~compact-"), QStringList()) << "no copy is left behind";
}

TEST_F(StorageFaults, AFullDiskEndsCompactionAndClearingMarksWithNothingChanged)
{
    SmallDisk disk(program.path("data/cookbooks"), 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason.toStdString();
    MakeCookbook("Family.tqc", "Family", "", 600, 100);
    ASSERT_TRUE(OpenCookbook("Family.tqc"));
    cnCookbook.exec("UPDATE RECIPES SET MARK=1");
    disk.fill();

    try {
        ClearAllMarks();
        ADD_FAILURE() << "clearing the marks on a full disk succeeded";
    } catch (const AppError& e) {
        EXPECT_TRUE(db::isStorageFailure(e)) << e.number << " " << e.description.toStdString();
        EXPECT_EQ(e.number, -13);
        EXPECT_EQ(e.description, "Disk full (database or disk is full)");
    }
    EXPECT_EQ(marked(), 500) << "a failed clear is rolled back whole";

    CloseCookbook();
    const QByteArray before = readBytes(cookbook("Family.tqc"));
    try {
        CompactCookbookFile("Family.tqc");
        ADD_FAILURE() << "compacting onto a full disk succeeded";
    } catch (const AppError& e) {
        EXPECT_TRUE(db::isStorageFailure(e)) << e.number << " " << e.description.toStdString();
        EXPECT_TRUE(e.description.startsWith("Disk full")) << e.description.toStdString();
    }
    EXPECT_EQ(readBytes(cookbook("Family.tqc")), before);
    EXPECT_EQ(cookbookFiles(), (QStringList{"Family.tqc", "filler"}));
}

TEST_F(StorageFaults, CompactionRefusesAWriteProtectedCookbookAndCleansUpAfterAKilledOne)
{
    MakeCookbook("Family.tqc", "Family", "", 30, 10);
    MakeCookbook("Work.tqc", "Work");
    const QStringList leftovers = {"Family.tqc.~compact-3f2a.tmp", "Family.tqc.~compact-3f2a.tmp-journal",
                                   "FAMILY.TQC.~compact-77.tmp", "Family.tqc.~compact-9c.tmp-journal", "temp.mdb"};
    for (const QString& name : leftovers)
        writeBytes(cookbook(name), "half a copy");
    writeBytes(cookbook("Work.tqc.~compact-1b.tmp"), "another cookbook's copy");
    writeBytes(cookbook("Family.tqc.notes"), "not a copy at all");

    // Write-protected (we may run as root, who could rename over it all the same): refused, and nothing
    // in the folder changes.
    const QString family = cookbook("Family.tqc");
    const QFileDevice::Permissions writable = QFileInfo(family).permissions();
    ASSERT_TRUE(QFile::setPermissions(family, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QByteArray before = readBytes(family);
    const QStringList filesBefore = cookbookFiles();
    try {
        CompactCookbookFile("Family.tqc");
        ADD_FAILURE() << "a write-protected cookbook was compacted";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, -8);
        EXPECT_EQ(e.description, "attempt to write a readonly database");
    }
    EXPECT_EQ(readBytes(family), before);
    EXPECT_EQ(QFileInfo(family).permissions() & QFileDevice::WriteOwner, 0);
    EXPECT_EQ(cookbookFiles(), filesBefore);

    // Writable again: the leftovers of a killed compaction of this cookbook go (its copies and the journals
    // of their writing), those of others stay.
    ASSERT_TRUE(QFile::setPermissions(family, writable));
    CompactCookbookFile("Family.tqc");
    EXPECT_EQ(cookbookFiles(), (QStringList{"Family.tqc", "Family.tqc.notes", "Work.tqc", "Work.tqc.~compact-1b.tmp"}));
    db::Connection cn;
    cn.open(family);
    EXPECT_EQ(scalar(cn, "SELECT count(*) FROM RECIPES"), 20);

    // Names that lead out of the cookbooks folder are not cookbooks.
    for (const QString& name : {QString("../tovalquendry.mdb"), QString(".."), QString("")})
        EXPECT_THROW(CompactCookbookFile(name), AppError) << name.toStdString();
}

} // namespace
