#pragma once
// The archive call behind cZip and the messages it collects.
#include "platform/zip/ZipWriter.h"

#include <QString>
#include <QStringList>

namespace basZip {

// What the last archive call reported, line by line in the order it happened.
inline QString sZipMessage;

// Makes the archive `zipName` of the files that the names give. A name is a file, or a folder followed by
// a wildcard pattern ("...\email\*.*", where "*.*" means every file); names match without regard to letter
// case, and a relative name is taken below `rootDirectory`. Entries are named relative to their name's
// folder (subfolders only with `recurse`); the archive never holds itself. A name that matches nothing is
// noted and passed over. Returns 0 on success, else a non-zero code with the reason in sZipMessage.
// `watch`, when given, follows the packing and may stop it.
int ZipArchiveFiles(const QStringList& names, const QString& zipName, bool recurse, bool update,
                    const QString& rootDirectory, const zipfile::Watch* watch = nullptr);

// Collects one message of the archive call.
void ZipPrintCallback(const QString& message);

} // namespace basZip
