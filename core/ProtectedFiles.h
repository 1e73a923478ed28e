#pragma once
// The files that an export or a saved page must never replace: the open cookbook, the main database, the
// cookbooks of the cookbooks folder, the settings file, the error log, the template in use, every lock
// file of the program and every file under "\temp". A target is compared by the identity of the file it reaches
// (device and inode from stat, so another spelling, a link or a hard link is caught too); no descriptor
// of a database file is ever opened for it. A new name ending in "tqc" in the cookbooks folder counts as
// a cookbook too, since the Cookbook Manager would take the file for one; so does the journal SQLite keeps
// beside any of them.
#include <QString>

// "" when the path may be written; otherwise the message that tells the user why not.
QString ProtectedFileMessage(const QString& path);

// Throws AppError (75, with that message) when the path names one of those files.
void RefuseProtectedFile(const QString& path);
