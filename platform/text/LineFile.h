#pragma once
// Line-by-line 8-bit text files, the way recipe exchange files and the clipboard hand-over file are
// read and written. The reader accepts CR LF, LF and CR line ends and decodes each line as UTF-8 when
// its bytes are valid UTF-8, else as Windows-1252; it streams, so a file of any size reads in constant
// memory. The writer writes Windows-1252 with CR LF ("?" for what the code page cannot hold).
#include "platform/text/FileRegistry.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace text {

class LineReader : public RegisteredFile {
public:
    // Opens the file; throws AppError (53 file not found, 75 access error) when it cannot.
    explicit LineReader(const QString& path);
    ~LineReader() override;

    bool atEnd();                // no more lines (true also once closed)
    QString readLine();          // throws AppError 62 "Input past end of file" at the end
    QByteArray readRawLine();    // the same, undecoded
    qint64 size() const { return size_; }
    void close() override;

private:
    bool fill();
    QFile file_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    qint64 size_ = 0;
    bool closed_ = false;
};

class LineWriter : public RegisteredFile {
public:
    // Creates or empties the file; throws AppError 75 when it cannot.
    explicit LineWriter(const QString& path);
    ~LineWriter() override;

    void writeLine(const QString& line);  // the line in Windows-1252, then CR LF
    void writeRaw(const QByteArray& bytes);
    void close() override;                 // flushes; throws AppError 75 when the flush fails

private:
    void flushBuffer();
    QFile file_;
    QByteArray buf_;
    bool closed_ = false;
};

// Reads a whole file (throws AppError 53 or 75) and writes a whole file (throws AppError 75).
QByteArray readAllBytes(const QString& path);
void writeAllBytes(const QString& path, const QByteArray& bytes);

} // namespace text
