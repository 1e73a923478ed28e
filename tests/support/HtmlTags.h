#pragma once
// The tags of an HTML page as a browser's parser reads them (Python's html.parser), so that a test checks
// what a page means rather than how its text looks.
#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

using TagAttributes = QList<QPair<QString, QString>>;

// Every tag of that name in the page (UTF-8), with its attributes in order; a value-less attribute has "".
inline QList<TagAttributes> TagsOf(const QByteArray& page, const QString& tag)
{
    static const char* script = R"(
import sys, json, html.parser
class P(html.parser.HTMLParser):
    def __init__(s):
        super().__init__(); s.found = []
    def handle_starttag(s, tag, attrs):
        if tag == sys.argv[1]: s.found.append([[k, v or ""] for k, v in attrs])
    handle_startendtag = handle_starttag
p = P(); p.feed(sys.stdin.buffer.read().decode("utf-8", "replace")); p.close()
print(json.dumps(p.found))
)";
    QProcess python;
    python.start("python3", {"-c", script, tag});
    python.write(page);
    python.closeWriteChannel();
    EXPECT_TRUE(python.waitForFinished(60000)) << "python3 did not read the page";
    QList<TagAttributes> tags;
    for (const QJsonValue& t : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        TagAttributes attributes;
        for (const QJsonValue& a : t.toArray())
            attributes << qMakePair(a.toArray()[0].toString(), a.toArray()[1].toString());
        tags << attributes;
    }
    return tags;
}

inline QStringList NamesOf(const TagAttributes& attributes)
{
    QStringList names;
    for (const auto& a : attributes)
        names << a.first;
    return names;
}

inline QString ValueOf(const TagAttributes& attributes, const QString& name)
{
    for (const auto& a : attributes)
        if (a.first == name)
            return a.second;
    return {};
}
