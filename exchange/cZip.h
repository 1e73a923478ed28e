#pragma once
// A list of files to pack and the call that packs them into one zip archive.
#include "platform/zip/ZipWriter.h"

#include <QString>
#include <QStringList>

class cZip {
public:
    cZip();

    // Error numbers raised (as AppError) for a file added twice or removed when absent.
    static constexpr int ErrAlreadyInList = -2147219503;
    static constexpr int ErrNotInList = -2147219502;

    // A file, or a folder with a wildcard ("...\email\*.*"). Specs compare without regard to letter case.
    void AddFile(const QString& fileSpec);
    void RemoveFile(const QString& fileSpec);
    long ZipFileCount() const;

    // Makes the archive; 0 means success, anything else failure with the reason in GetLastMessage.
    // More than 99 specs raise "Subscript out of range".
    long MakeZipFile();
    QString GetLastMessage() const;
    // Follows the next MakeZipFile and may stop it (the result is then zipfile::Interrupted); not owned.
    void setWatch(const zipfile::Watch* watch) { watch_ = watch; }

    QString ZipFileName() const { return zipFileName_; }
    void setZipFileName(const QString& name) { zipFileName_ = name; }
    QString RootDirectory() const { return rootDirectory_; }
    void setRootDirectory(const QString& folder) { rootDirectory_ = folder; }

    bool RecurseFolders() const { return recurseFolders_ != 0; }
    void setRecurseFolders(bool on) { recurseFolders_ = on ? 1 : 0; }
    bool UpdatingZip() const { return updatingZip_ == 1; }
    void setUpdatingZip(bool on) { updatingZip_ = on ? 1 : 0; }
    // Kept for callers that set them; the archive is never encrypted and takes every file named.
    bool Encrypted() const { return encrypted_ == 1; }
    void setEncrypted(bool on) { encrypted_ = on ? 1 : 0; }
    bool IncludeSystemFiles() const { return includeSystemFiles_ == 1; }
    void setIncludeSystemFiles(bool on) { includeSystemFiles_ = on ? 1 : 0; }

private:
    qsizetype indexOf(const QString& fileSpec) const;

    QStringList files_;  // the placeholder first, then the specs in the order added
    QString zipFileName_;
    QString rootDirectory_ = "\\";
    const zipfile::Watch* watch_ = nullptr;
    qint16 recurseFolders_ = 0, updatingZip_ = 0, encrypted_ = 0, includeSystemFiles_ = 0;
};
