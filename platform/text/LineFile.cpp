#include "platform/text/LineFile.h"

#include "platform/AppError.h"
#include "platform/text/Codec.h"

#include <QFileInfo>

namespace text {
namespace {
constexpr qsizetype kChunk = 1 << 16;

[[noreturn]] void throwOpenError(const QFile& file)
{
    if (!QFileInfo::exists(file.fileName()))
        throw AppError(AppError::FileNotFound, "File not found");
    throw AppError(AppError::PathFileAccess, "Path/File access error");
}

[[noreturn]] void throwClosed()
{
    throw AppError(AppError::BadFileNumber, "Bad file name or number");
}
} // namespace

LineReader::LineReader(const QString& path) : file_(path)
{
    if (QFileInfo(path).isDir() || !file_.open(QIODevice::ReadOnly))
        throwOpenError(file_);
    size_ = file_.size();
}

LineReader::~LineReader() { close(); }

void LineReader::close()
{
    if (!closed_) {
        file_.close();
        closed_ = true;
        buf_.clear();
        pos_ = 0;
    }
}

bool LineReader::fill()
{
    if (closed_)
        return false;
    if (pos_ > 0) {
        buf_.remove(0, pos_);
        pos_ = 0;
    }
    const QByteArray more = file_.read(kChunk);
    buf_.append(more);
    return !more.isEmpty();
}

bool LineReader::atEnd()
{
    if (closed_)
        return true;
    return pos_ >= buf_.size() && !fill();
}

QByteArray LineReader::readRawLine()
{
    if (closed_)
        throwClosed();
    if (atEnd())
        throw AppError(AppError::InputPastEnd, "Input past end of file");
    qsizetype scanned = 0; // bytes after pos_ known to hold no line end
    for (;;) {
        const char* data = buf_.constData();
        const qsizetype size = buf_.size();
        qsizetype i = pos_ + scanned;
        while (i < size && data[i] != '\n' && data[i] != '\r')
            ++i;
        if (i >= size) {
            scanned = i - pos_;
            if (!fill()) { // last line without a line end
                QByteArray line = buf_.mid(pos_);
                pos_ = buf_.size();
                return line;
            }
            continue;
        }
        QByteArray line = buf_.mid(pos_, i - pos_);
        pos_ = i + 1;
        if (data[i] == '\r') {
            if (pos_ >= buf_.size())
                fill();
            if (pos_ < buf_.size() && buf_.at(pos_) == '\n')
                ++pos_;
        }
        return line;
    }
}

QString LineReader::readLine()
{
    return decode8bit(readRawLine());
}

LineWriter::LineWriter(const QString& path) : file_(path)
{
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw AppError(AppError::PathFileAccess, "Path/File access error");
}

LineWriter::~LineWriter()
{
    try {
        close();
    } catch (const AppError&) {
    }
}

void LineWriter::flushBuffer()
{
    if (buf_.isEmpty())
        return;
    const qint64 written = file_.write(buf_);
    const bool ok = written == buf_.size();
    buf_.clear();
    if (!ok)
        throw AppError(AppError::PathFileAccess, "Path/File access error");
}

void LineWriter::writeRaw(const QByteArray& bytes)
{
    if (closed_)
        throwClosed();
    buf_.append(bytes);
    if (buf_.size() >= kChunk)
        flushBuffer();
}

void LineWriter::writeLine(const QString& line)
{
    writeRaw(toCp1252(line).append("\r\n"));
}

void LineWriter::close()
{
    if (closed_)
        return;
    closed_ = true;
    try {
        flushBuffer();
    } catch (...) {
        file_.close();
        throw;
    }
    file_.close();
}

QByteArray readAllBytes(const QString& path)
{
    QFile f(path);
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly))
        throwOpenError(f);
    return f.readAll();
}

void writeAllBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() || !f.flush())
        throw AppError(AppError::PathFileAccess, "Path/File access error");
}

} // namespace text
