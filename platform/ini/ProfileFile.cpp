#include "platform/ini/ProfileFile.h"

#include "platform/text/Codec.h"

#include <QFile>
#include <QSaveFile>
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

bool writeValue(const QString& file, const QString& section, const QString& key, const QString& value)
{
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) || section.contains(']')
        || key.contains('=') || key.trimmed().startsWith('[') || key.trimmed().startsWith(';')
        || key.trimmed().isEmpty())
        return false;
    const std::optional<QStringList> existing = readLines(file);
    if (!existing)
        return false; // never replace a file that could not be read
    QStringList lines = *existing;
    const QString entry = key + '=' + storedForm(value);

    int sectionStart = -1, lastKeyLine = -1;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = sectionOf(lines[i]);
        if (!name.isNull()) {
            if (inSection)
                break; // the next section begins
            inSection = name.compare(section.trimmed(), Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionStart = lastKeyLine = i;
            continue;
        }
        if (!inSection)
            continue;
        QString k;
        if (keyLine(lines[i], &k, nullptr)) {
            if (k.compare(key.trimmed(), Qt::CaseInsensitive) == 0) {
                lines[i] = entry;
                sectionStart = -2; // done
                break;
            }
            lastKeyLine = i;
        } else if (!lines[i].trimmed().isEmpty()) {
            lastKeyLine = i;
        }
    }
    if (sectionStart == -1) {
        lines << QString('[' + section + ']') << entry;
    } else if (sectionStart >= 0) {
        lines.insert(lastKeyLine + 1, entry);
    }

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(lines.join("\r\n").append("\r\n").toUtf8());
    return out.commit();
}

} // namespace ini
