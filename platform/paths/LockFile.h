#pragma once
// A lock that instances of the program take on a file of their own beside the file they guard (a
// cookbook's "<file>.lock"). It is an flock on that lock file: it belongs to the open descriptor, is
// released when the holder ends however it ends, and never touches the locks SQLite takes on the
// guarded file itself (a descriptor of a database file opened and closed outside SQLite drops them).
#include <QString>

namespace paths {

class LockFile {
public:
    enum class Mode { Shared, Exclusive };
    enum class Result {
        Taken,       // the lock is held until release() or the object goes
        Busy,        // another holder kept a conflicting lock for the whole wait
        Unavailable, // the lock file cannot be made or opened (a read-only folder)
    };

    LockFile() = default;
    ~LockFile() { release(); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;
    LockFile(LockFile&& other) noexcept;
    LockFile& operator=(LockFile&& other) noexcept;

    // Takes the lock on the file at `lockPath` (made when missing), trying again for at most `waitMs`
    // milliseconds while another holder keeps a conflicting one. A lock object holds one lock at a time:
    // one held before is released first.
    Result take(const QString& lockPath, Mode mode, int waitMs = 0);
    void release();
    bool held() const { return fd_ >= 0; }
    // The system's error number of the last Unavailable.
    int error() const { return error_; }

    // While held exclusively: removes the lock file along with the file it guarded. Whoever waits on
    // the removed file sees that it is gone when its turn comes and takes the lock on a new one.
    void removeFile();

private:
    int fd_ = -1;
    int error_ = 0;
    QString path_;
};

} // namespace paths
