#pragma once
// Writes zip archives (deflated entries, names in UTF-8) over libzip.
#include <QList>
#include <QString>

namespace zipfile {

// Result codes, as zip tools have always numbered them; 0 is success.
enum Result : int {
    Ok = 0,
    NothingToDo = 12,   // no file to archive
    WriteFailed = 14,   // the archive could not be completed
    CreateFailed = 15,  // the archive could not be opened for writing
    OpenFailed = 18,    // a file to archive could not be read
};

struct Entry {
    QString path;  // the file on disk
    QString name;  // its name inside the archive ("a.html", "sub/b.jpg")
};

// Makes the archive at `archivePath` holding the entries in order. The archive is replaced unless
// `update` is set, in which case entries are added to (or replace those of) an existing archive.
// Each problem is appended to `messages` as one line; a failed call leaves no half-written archive.
int writeArchive(const QString& archivePath, const QList<Entry>& entries, bool update, QString& messages);

} // namespace zipfile
