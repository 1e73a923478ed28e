#pragma once
// Making a new file without ever taking over one that exists.
#include <QString>

namespace paths {

// Creates the file exclusively (O_CREAT|O_EXCL) and keeps it open while the object lives, so that the
// caller can tell afterwards whether the name still leads to this very file. Nothing that exists at the
// path is ever opened, written or deleted.
class NewFile {
public:
    // Throws AppError: 58 "File already exists", 76 when the folder is missing, 75 for other failures.
    explicit NewFile(const QString& path);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // True while the path still names the file this object made.
    bool stillAtPath() const;
    // Closes the file; the file itself stays.
    void close();

private:
    QString path_;
    int fd_ = -1;
};

} // namespace paths
