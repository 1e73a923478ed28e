#pragma once
// Writes zip archives (deflated entries, names in UTF-8) over libzip.
#include <QList>
#include <QString>
#include <functional>

namespace zipfile {

// Result codes, as zip tools have always numbered them; 0 is success.
enum Result : int {
    Ok = 0,
    NothingToDo = 12,   // no file to archive
    WriteFailed = 14,   // the archive could not be completed
    CreateFailed = 15,  // the archive could not be opened for writing
    OpenFailed = 18,    // a file to archive could not be read
    Interrupted = 9,    // the user cancelled
};

struct Entry {
    QString path;  // the file on disk
    QString name;  // its name inside the archive ("a.html", "sub/b.jpg")
};

// Who watches a long archive call: how far it got (entries done of all, a large one counted by its
// bytes) and whether it should stop. Both are asked often, from the thread that packs.
struct Watch {
    std::function<void(double done)> progress; // 0 to 1, by the bytes of the files read
    std::function<bool()> cancelled;
};

// Makes the archive at `archivePath` holding the entries in order. The archive is replaced unless
// `update` is set, in which case entries are added to (or replace those of) an existing archive.
// Each problem is appended to `messages` as one line; a failed or cancelled call leaves no half-written
// archive.
int writeArchive(const QString& archivePath, const QList<Entry>& entries, bool update, QString& messages,
                 const Watch* watch = nullptr);

} // namespace zipfile
