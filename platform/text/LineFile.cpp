#include "platform/text/LineFile.h"

#include "platform/AppError.h"
#include "platform/text/Codec.h"
#include "platform/paths/FileReplacement.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstring>
#include <utility>

namespace text {
namespace {
constexpr qsizetype kChunk = 1 << 16;
constexpr qsizetype kCheckChunk = 1 << 20; // read ahead to decide a file's character set

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
        throwClosed(); // closed under the reader: an error, never an end of file
    return pos_ >= buf_.size() && !fill();
}

void LineReader::startRecord(qint64 maxBytes) { recordLimit_ = consumed_ + maxBytes; }

namespace {
// The length of the first `max` bytes of a line, less a UTF-8 sequence that the cut would split.
qsizetype cutAtCharacter(const char* data, qsizetype max)
{
    qsizetype n = max;
    int back = 0;
    while (n > 0 && back < 3 && (static_cast<unsigned char>(data[n]) & 0xC0) == 0x80) {
        --n;
        ++back;
    }
    return back > 0 && (static_cast<unsigned char>(data[n]) & 0xC0) == 0xC0 ? n : max;
}
} // namespace

// Passes over the bytes up to and including the next line end (or the end of the file), keeping at
// most one chunk in memory.
void LineReader::skipRestOfLine()
{
    for (;;) {
        const char* data = buf_.constData();
        const char* end = data + buf_.size();
        const char* lf = static_cast<const char*>(std::memchr(data + pos_, '\n', end - (data + pos_)));
        const char* cr = static_cast<const char*>(std::memchr(data + pos_, '\r', (lf ? lf : end) - (data + pos_)));
        const qsizetype i = (cr ? cr : lf ? lf : end) - data;
        consumed_ += i - pos_;
        pos_ = i;
        if (i < buf_.size())
            break;
        if (!fill())
            return;
    }
    const bool cr = buf_.at(pos_) == '\r';
    ++pos_;
    ++consumed_;
    if (cr) {
        if (pos_ >= buf_.size())
            fill();
        if (pos_ < buf_.size() && buf_.at(pos_) == '\n') {
            ++pos_;
            ++consumed_;
        }
    }
}

template <class Take>
auto LineReader::nextLine(Take take)
{
    if (closed_)
        throwClosed();
    if (recordLimit_ >= 0 && consumed_ > recordLimit_)
        throw RecordTooLarge();
    if (atEnd())
        throw AppError(AppError::InputPastEnd, "Input past end of file");
    qsizetype scanned = 0; // bytes after pos_ known to hold no line end
    for (;;) {
        const char* data = buf_.constData();
        const qsizetype size = buf_.size();
        qsizetype i = pos_ + scanned;
        while (i < size && data[i] != '\n' && data[i] != '\r' && i - pos_ < kMaxLineBytes)
            ++i;
        if (i - pos_ >= kMaxLineBytes && i < size) { // an overlong line: keep its first MiB, skip the rest
            auto line = take(QByteArrayView(data + pos_, cutAtCharacter(data + pos_, kMaxLineBytes)));
            consumed_ += i - pos_;
            pos_ = i;
            skipRestOfLine();
            return line;
        }
        if (i >= size) {
            scanned = i - pos_;
            if (!fill()) { // last line without a line end
                auto line = take(QByteArrayView(buf_).sliced(pos_));
                consumed_ += buf_.size() - pos_;
                pos_ = buf_.size();
                return line;
            }
            continue;
        }
        // Taken before the buffer moves on below.
        auto line = take(QByteArrayView(data + pos_, i - pos_));
        const bool cr = data[i] == '\r';
        consumed_ += i - pos_ + 1;
        pos_ = i + 1;
        if (cr) { // CR LF is one line end, even across two chunks
            if (pos_ >= buf_.size())
                fill();
            if (pos_ < buf_.size() && buf_.at(pos_) == '\n') {
                ++pos_;
                ++consumed_;
            }
        }
        return line;
    }
}

QByteArray LineReader::readRawLine()
{
    return nextLine([](QByteArrayView bytes) { return bytes.toByteArray(); });
}

// Decoded straight from the buffer, without a copy of the line's bytes.
QString LineReader::readLine()
{
    return nextLine([this](QByteArrayView bytes) { return decode(bytes); });
}

QString LineReader::decode(QByteArrayView line)
{
    if (isAscii(line)) // reads the same in every character set the files come in
        return QString::fromLatin1(line);
    if (charset_ == Charset::Undecided) {
        // The lines before this one were plain ASCII: the rest of the file decides.
        charset_ = restIsUtf8() ? Charset::Utf8 : Charset::CodePage;
        codePage_ = localCodePage();
    }
    return charset_ == Charset::Utf8 ? decode8bit(line) : decodeAs(line, codePage_);
}

bool LineReader::restIsUtf8()
{
    Utf8Check check;
    if (!check.add(QByteArrayView(buf_).sliced(pos_)))
        return false;
    const qint64 resume = file_.pos();
    QByteArray chunk;
    while (check.add(chunk = file_.read(kCheckChunk)) && !chunk.isEmpty()) {
    }
    if (!file_.seek(resume))
        throw AppError(AppError::PathFileAccess, "Path/File access error");
    return check.valid();
}

LineWriter::LineWriter(const QString& path) : codePage_(localCodePage())
{
    try {
        file_ = std::make_unique<paths::FileReplacement>(path);
    } catch (const AppError& e) {
        // A missing folder reads as an access error here, as it always has for the exchange files.
        throw AppError(e.number == AppError::DiskFull ? e.number : int(AppError::PathFileAccess), e.description);
    }
}

LineWriter::~LineWriter() { close(); }

void LineWriter::writeLine(const QString& line)
{
    if (closed_)
        throwClosed();
    // Most lines are ASCII: tested and copied in one pass into a buffer that is kept.
    const qsizetype n = line.size();
    line_.resize(n + 2);
    char* out = line_.data();
    const char16_t* in = reinterpret_cast<const char16_t*>(line.utf16());
    qsizetype i = 0;
    while (i < n && in[i] < 0x80) {
        out[i] = char(in[i]);
        ++i;
    }
    if (i < n) {
        std::optional<QByteArray> bytes;
        if (!utf8_ && !(bytes = encodeExactly(line, codePage_)))
            switchToUtf8();
        line_ = utf8_ ? line.toUtf8() : *std::move(bytes);
        line_.append("\r\n");
    } else {
        out[n] = '\r';
        out[n + 1] = '\n';
    }
    file_->append(line_);
}

// Everything written so far fitted the code page: read back, it becomes a UTF-8 file without loss, which
// then takes the place of the code-page file.
void LineWriter::switchToUtf8()
{
    auto utf8 = std::make_unique<paths::FileReplacement>(file_->targetPath());
    file_->flush();
    QFile written(file_->temporaryPath());
    if (!written.open(QIODevice::ReadOnly))
        throw AppError(AppError::PathFileAccess, "Path/File access error");
    // Stateful: a character split between two chunks is kept whole. A code page unknown here let only
    // ASCII through.
    QStringDecoder fromCodePage(codePage_.constData());
    if (!fromCodePage.isValid())
        fromCodePage = QStringDecoder(QStringConverter::Latin1);
    QStringEncoder toUtf8(QStringConverter::Utf8);
    for (;;) {
        const QByteArray chunk = written.read(kChunk);
        if (chunk.isEmpty())
            break;
        utf8->append(QByteArray(toUtf8(QString(fromCodePage(chunk)))));
    }
    if (written.error() != QFileDevice::NoError)
        throw AppError(AppError::PathFileAccess, "Path/File access error");
    file_->cancel();
    file_ = std::move(utf8);
    utf8_ = true;
}

void LineWriter::commit()
{
    if (closed_)
        throwClosed();
    closed_ = true;
    line_ = {};
    file_->commit();
}

void LineWriter::close()
{
    if (closed_)
        return;
    closed_ = true;
    line_ = {};
    file_->cancel();
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
    paths::replaceFile(path, bytes, paths::Sync::No);
}

} // namespace text
