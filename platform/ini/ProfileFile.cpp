#include "platform/ini/ProfileFile.h"

#include "platform/paths/FileReplacement.h"
#include "platform/paths/LockFile.h"
#include "platform/text/Codec.h"

#include <QFile>
#include <QList>
#include <QStringList>

#include <optional>

namespace ini {
namespace {

// The file's lines; an empty list when the file does not exist, nothing when it exists but cannot be read.
std::optional<QStringList> readLines(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        if (f.exists())
            return std::nullopt;
        return QStringList();
    }
    QString content = text::decode8bit(f.readAll());
    content.replace("\r\n", "\n").replace('\r', '\n');
    QStringList lines = content.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The section name of a "[name]" line, or a null string when the line is no section header.
QString sectionOf(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith('['))
        return {};
    const int close = t.indexOf(']');
    return close < 0 ? t.mid(1).trimmed() : t.mid(1, close - 1).trimmed();
}

bool keyLine(const QString& line, QString* key, QString* value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('['))
        return false;
    const int eq = t.indexOf('=');
    if (eq < 0)
        return false;
    *key = t.left(eq).trimmed();
    if (value) {
        QString v = t.mid(eq + 1).trimmed();
        if (v.size() >= 2 && ((v.startsWith('"') && v.endsWith('"')) || (v.startsWith('\'') && v.endsWith('\''))))
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

bool hasLineBreak(const QString& s)
{
    return s.contains('\n') || s.contains('\r');
}

// The value as it goes into the file. Reading trims blanks and drops one pair of enclosing quotes, so a
// value that would lose either is written inside double quotes and reads back unchanged.
QString storedForm(const QString& value)
{
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
                        && value.back() == value.front();
    if (quoted || value != value.trimmed())
        return '"' + value + '"';
    return value;
}
} // namespace

QString readValue(const QString& file, const QString& section, const QString& key)
{
    bool inSection = false;
    for (const QString& line : readLines(file).value_or(QStringList())) {
        const QString name = sectionOf(line);
        if (!name.isNull()) {
            inSection = name.compare(section.trimmed(), Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k, v;
        if (inSection && keyLine(line, &k, &v) && k.compare(key.trimmed(), Qt::CaseInsensitive) == 0)
            return v;
    }
    return {};
}

namespace {
// One line of the file's bytes: [begin, end) without its line end, `next` where the following line begins.
struct RawLine {
    qsizetype begin, end, next;
};

QList<RawLine> splitLines(const QByteArray& bytes)
{
    QList<RawLine> lines;
    qsizetype begin = 0;
    while (begin < bytes.size()) {
        qsizetype end = begin;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < bytes.size())
            next += (bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n') ? 2 : 1;
        lines.append({begin, end, next});
        begin = next;
    }
    return lines;
}

// The line end the file already uses; CR LF for a new file.
QByteArray lineEndOf(const QByteArray& bytes)
{
    if (bytes.contains("\r\n"))
        return "\r\n";
    return bytes.contains('\n') ? "\n" : "\r\n";
}
} // namespace

namespace {
bool acceptable(const QString& section, const QString& key, const QString& value)
{
    return !(hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) || section.contains(']')
             || key.contains('=') || key.trimmed().startsWith('[') || key.trimmed().startsWith(';')
             || key.trimmed().isEmpty());
}

// Puts the value into the file's bytes.
void setValue(QByteArray& bytes, const QString& section, const QString& key, const QString& value)
{

    // Only the one value changes; every other byte stays as it was. A file that is no UTF-8 is in the
    // code page of the user's language and takes the value in that code page; a value the code page
    // cannot hold turns the file into UTF-8 (every text in it kept), since the file is read as one or the
    // other.
    const QString stored = storedForm(value);
    const QByteArray codePage = text::localCodePage();
    bool utf8 = text::isValidUtf8(bytes);
    if (!utf8 && !text::encodeExactly(QString(stored + section + key), codePage)) {
        bytes = text::decodeAs(bytes, codePage).toUtf8();
        utf8 = true;
    }
    auto encode = [&](const QString& s) { return utf8 ? s.toUtf8() : text::encodeExactly(s, codePage).value(); };
    auto decode = [&](const QByteArray& b) { return utf8 ? QString::fromUtf8(b) : text::decodeAs(b, codePage); };
    const QByteArray eol = lineEndOf(bytes);

    bool inSection = false, sectionFound = false;
    qsizetype insertAt = -1; // after the section's last line that is not blank
    bool insertNeedsEol = false;
    for (const RawLine& line : splitLines(bytes)) {
        const QByteArray raw = bytes.mid(line.begin, line.end - line.begin);
        QString text = decode(raw);
        if (line.begin == 0 && text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1); // a byte-order mark, which reading skips too
        const QString name = sectionOf(text);
        if (!name.isNull()) {
            if (inSection)
                break; // the next section begins
            inSection = name.compare(section.trimmed(), Qt::CaseInsensitive) == 0;
        } else if (!inSection) {
            continue;
        }
        if (inSection && name.isNull()) {
            QString k;
            if (keyLine(text, &k, nullptr) && k.compare(key.trimmed(), Qt::CaseInsensitive) == 0) {
                // Keep the key as written, its equals sign and the blanks after it; replace the rest.
                qsizetype valueAt = raw.indexOf('=') + 1;
                while (valueAt < raw.size() && (raw[valueAt] == ' ' || raw[valueAt] == '\t'))
                    ++valueAt;
                bytes.replace(line.begin + valueAt, line.end - line.begin - valueAt, encode(stored));
                insertAt = -2;
                break;
            }
        }
        if (inSection) {
            sectionFound = true;
            if (!text.trimmed().isEmpty()) {
                insertAt = line.next;
                insertNeedsEol = line.next == line.end; // the file's last line, without a line end
            }
        }
    }

    const QByteArray entry = encode(key + '=' + stored) + eol;
    if (!sectionFound) {
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
            bytes += eol;
        bytes += encode('[' + section + ']') + eol + entry;
    } else if (insertAt >= 0) {
        bytes.insert(insertAt, insertNeedsEol ? eol + entry : entry);
    }
}

// An exclusive lock on a file beside the settings file, held from the read to the rename, so that two
// instances writing at once each build on the other's file and no key is lost. The lock file stays.
// Another instance holds it only for one write; a holder that never lets go is reported.
paths::LockFile lockSettings(const QString& file)
{
    paths::LockFile lock;
    switch (lock.take(file + ".lock", paths::LockFile::Mode::Exclusive, 10000)) {
    case paths::LockFile::Result::Taken: break;
    case paths::LockFile::Result::Unavailable: throw paths::fileError(lock.error());
    case paths::LockFile::Result::Busy:
        throw AppError(AppError::PathFileAccess,
                       "Path/File access error: the settings file is being written by another program");
    }
    return lock;
}
} // namespace

bool writeValues(const QString& file, const QString& section, const QList<std::pair<QString, QString>>& values)
{
    for (const auto& [key, value] : values)
        if (!acceptable(section, key, value))
            return false;
    const paths::LockFile lock = lockSettings(file);
    QByteArray bytes;
    {
        QFile in(file);
        if (in.open(QIODevice::ReadOnly)) {
            bytes = in.readAll();
            if (in.error() != QFileDevice::NoError)
                throw AppError(AppError::PathFileAccess, "Path/File access error: " + in.errorString());
        } else if (in.exists()) { // never replace a file that could not be read
            throw AppError(AppError::PathFileAccess, "Path/File access error: " + in.errorString());
        }
    }
    for (const auto& [key, value] : values)
        setValue(bytes, section, key, value);
    paths::replaceFile(file, bytes);
    return true;
}

bool writeValue(const QString& file, const QString& section, const QString& key, const QString& value)
{
    return writeValues(file, section, {{key, value}});
}

} // namespace ini
