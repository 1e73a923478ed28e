#pragma once
// Line-by-line 8-bit text files, the way recipe exchange files and the clipboard hand-over file are
// read and written. The reader accepts CR LF, LF and CR line ends and decodes the file as UTF-8 when all
// of it is valid UTF-8, else every line of it in the code page of the user's language; it streams, so a
// file of any size reads in constant memory: a line longer than 1 MiB is cut there (at a character
// boundary) and the rest of it skipped.
// The writer streams CR LF lines in the user's code page, or the whole file in UTF-8 when a character
// does not fit that code page, to a temporary file beside the target, which replaces the target only once
// it is complete and synced without error.
#include "platform/AppError.h"
#include "platform/text/FileRegistry.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

namespace paths {
class FileReplacement;
}

namespace text {

// Raised by a reader that was given a record limit when the record's lines pass it.
struct RecordTooLarge : AppError {
    RecordTooLarge() : AppError(AppError::OutOfMemory, "Out of memory") {}
};

class LineReader : public RegisteredFile {
public:
    static constexpr qsizetype kMaxLineBytes = qsizetype(1) << 20;

    // Opens the file; throws AppError (53 file not found, 75 access error) when it cannot.
    explicit LineReader(const QString& path);
    ~LineReader() override;

    bool atEnd();                // no more lines; throws 52 once the file was closed
    QString readLine();          // throws AppError 62 "Input past end of file" at the end
    QByteArray readRawLine();    // the same, undecoded
    qint64 size() const { return size_; }
    void close() override;

    // From here on, a line read after more than `maxBytes` bytes have been read raises RecordTooLarge
    // (the line is left unread); endRecord() lifts the limit.
    void startRecord(qint64 maxBytes);
    void endRecord() { recordLimit_ = -1; }

private:
    // Hands the next line's bytes, still in the buffer, to `take` and returns what it makes of them.
    template <class Take>
    auto nextLine(Take take);
    bool fill();
    void skipRestOfLine();
    QString decode(QByteArrayView line);
    // Whether the file is valid UTF-8 from the line in hand (at pos_) to its end; the reading position
    // is left where it was.
    bool restIsUtf8();
    QFile file_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    qint64 size_ = 0;
    qint64 consumed_ = 0;      // bytes of the file handed out so far, line ends included
    qint64 recordLimit_ = -1;  // consumed_ at which the current record is too large; -1 for none
    bool closed_ = false;
    // How the file's lines are decoded: decided at its first line that is not plain ASCII, for the whole
    // file (a code-page file may hold lines that happen to be valid UTF-8).
    enum class Charset : char { Undecided, Utf8, CodePage } charset_ = Charset::Undecided;
    QByteArray codePage_;
};

class LineWriter : public RegisteredFile {
public:
    // Creates the temporary file beside `path`; throws AppError 75 when it cannot.
    explicit LineWriter(const QString& path);
    ~LineWriter() override; // without commit(), the temporary file is removed and the target left alone

    // The line, then CR LF. Lines go out as they come, in the code page while everything fits it; at the
    // first line that does not fit, what was written is read back into a UTF-8 file (all of it fitted, so
    // nothing is lost) and writing goes on there. Throws the AppError of a failed write (61 disk full).
    void writeLine(const QString& line);
    // Puts the file in place of the target; throws AppError (61 disk full, 75) when a write, the sync or
    // the rename fails (the target is then left as it was).
    void commit();
    // Stops writing: what was written is dropped and the target left as it was.
    void close() override;

private:
    void switchToUtf8();

    std::unique_ptr<paths::FileReplacement> file_;
    const QByteArray codePage_;
    QByteArray line_; // one line's bytes, its buffer kept from line to line
    bool utf8_ = false;
    bool closed_ = false;
};

// Reads a whole file (throws AppError 53 or 75).
QByteArray readAllBytes(const QString& path);
// Replaces a whole working file of the program's, under \temp (throws AppError 61, 75 or 76, the old file
// then left as it was). Every write is checked; the file is not synced to the disk.
void writeAllBytes(const QString& path, const QByteArray& bytes);

} // namespace text
