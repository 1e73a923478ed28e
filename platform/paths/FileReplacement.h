#pragma once
// Replacing a file without ever leaving it empty or cut: the new content goes to a temporary file beside
// the target, every write is checked (no buffer of the system library hides a short write), the file is
// synced and closed with a check, and only then does one rename put it in place of the target. A failure
// anywhere removes the temporary file and leaves the target as it was.
#include "platform/AppError.h"

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>

namespace paths {

// Whether a replaced file is synced to the disk before it takes the target's place. The user's files and the
// settings are; the program's working files under \temp (pages, pictures, hand-overs), made again whenever
// they are needed, need not wait for the disk.
enum class Sync { ToDisk, No };

class FileReplacement : public QIODevice {
public:
    // Creates the temporary file beside `target` (a link is followed: the file it names is replaced).
    // Throws AppError: 76 when the folder is missing, 61 when the disk is full, 75 for other failures,
    // among them a target that is a folder or a file that may not be written.
    explicit FileReplacement(const QString& target, Sync sync = Sync::ToDisk);
    ~FileReplacement() override; // without commit(), the temporary file goes and the target stays
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Appends bytes; throws the AppError of the first failed write (every later one fails the same way).
    void append(QByteArrayView bytes);
    // Writes what is left, syncs, and renames the temporary file over the target; throws AppError on
    // any failure, the target then left as it was. The target keeps its permissions.
    void commit();
    // Drops what was written; the target is left as it was.
    void cancel();
    // Writes out what is buffered, so that the temporary file holds everything appended so far.
    void flush();
    // The temporary file, to read back what was written; "" once committed or cancelled.
    QString temporaryPath() const { return QFile::decodeName(temporary_); }

    bool failed() const { return failed_; }
    // The failure that stopped the writing, for callers that write through QIODevice (QXmlStreamWriter).
    AppError failure() const { return failure_; }
    QString targetPath() const { return target_; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    void flushBuffer();
    void fail(int error);
    void removeTemporary();

    QString target_;
    Sync sync_;
    QByteArray temporary_; // encoded path of the temporary file
    int fd_ = -1;
    QByteArray buf_;
    bool failed_ = false;
    AppError failure_{0, QString()};
};

// Replaces the file with the bytes, whole, through a FileReplacement; throws its AppError.
void replaceFile(const QString& target, QByteArrayView bytes, Sync sync = Sync::ToDisk);

// The program's error for a failed file operation with the system error `error` (errno).
AppError fileError(int error);

} // namespace paths
