#pragma once
// Compacting a cookbook file in place without ever risking it.
#include <QString>

#include <mutex>

// How far a compaction has come, for a window to show while the compaction runs on another thread.
class CompactionProgress {
public:
    // Thousandths of the work done, 0 to 1000: the compacted copy's size on disk against the pages the
    // cookbook's data fills now (the free pages are what compaction drops). It stays at 990 from the
    // copy's last page until the copy is in place, and is 1000 once it is. Read from any thread.
    int permille() const;

    // Called by the compaction.
    void copyStarted(const QString& copyPath, qint64 expectedBytes);
    void finished();

private:
    mutable std::mutex mutex_;
    QString copy_;
    qint64 expected_ = 0;
    bool finished_ = false;
};

// Compacts the cookbook file `fileName` in "\data\cookbooks\". Holds the cookbook's write lock throughout,
// writes a compacted copy to a temporary file of its own in that folder (leftovers of a killed compaction,
// and a "temp.mdb", are deleted first) and, only when the copy is complete and holds every recipe, puts
// it in the cookbook's place with one atomic rename. On any failure the cookbook stays as it was, the
// copy is removed, and an AppError is thrown. The file must not be open as the current cookbook.
// Touches nothing of the window (it may run on a thread of its own); `progress`, when given, follows it.
void CompactCookbookFile(const QString& fileName, CompactionProgress* progress = nullptr);
