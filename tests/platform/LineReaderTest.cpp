// The 8-bit line reader: every line end, lines across its read chunks, and the two encodings.
#include "platform/AppError.h"
#include "platform/text/Codec.h"
#include "platform/text/LineFile.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr qsizetype kMaxLine = text::LineReader::kMaxLineBytes;

QList<QByteArray> readAll(const QByteArray& bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.txt");
    writeBytes(path, bytes);
    text::LineReader in(path);
    QList<QByteArray> lines;
    while (!in.atEnd())
        lines << in.readRawLine();
    EXPECT_THROW(in.readRawLine(), AppError);

    // Decoded lines are decoded straight from the reader's buffer: the same lines, whatever the chunks,
    // all in the character set of the whole file.
    const bool utf8 = text::isValidUtf8(bytes);
    text::LineReader decoding(path);
    QStringList decoded;
    while (!decoding.atEnd())
        decoded << decoding.readLine();
    EXPECT_THROW(decoding.readLine(), AppError);
    EXPECT_EQ(decoded.size(), lines.size());
    for (qsizetype i = 0; i < std::min(decoded.size(), lines.size()); ++i)
        EXPECT_EQ(decoded[i], utf8 ? text::decode8bit(lines[i]) : text::decodeAs(lines[i], text::localCodePage()))
            << "line " << i;
    return lines;
}

TEST(LineReader, SplitsAtEveryLineEndAcrossChunks)
{
    EXPECT_EQ(readAll("a\r\nb\nc\rd"), (QList<QByteArray>{"a", "b", "c", "d"}));
    EXPECT_EQ(readAll("\r\n\r\r\n\n"), (QList<QByteArray>{"", "", "", ""}));
    EXPECT_EQ(readAll(""), QList<QByteArray>{});

    // Lines that straddle the reader's 64 KiB chunks, with a CR LF split between two chunks.
    for (const qsizetype first : {qsizetype(65535), qsizetype(65534), qsizetype(200000)}) {
        const QByteArray longLine(first, 'x');
        const QList<QByteArray> lines = readAll(longLine + "\r\nnext\rlast\r\n");
        ASSERT_EQ(lines.size(), 3) << first;
        EXPECT_EQ(lines[0], longLine);
        EXPECT_EQ(lines[1], "next");
        EXPECT_EQ(lines[2], "last");
    }

    // A line past 1 MiB keeps its first MiB, cut before a character the cut would split.
    const QByteArray overlong = QByteArray(kMaxLine - 1, 'x') + "\xc3\xa8" + QByteArray(1000, 'y');
    const QList<QByteArray> lines = readAll(overlong + "\r\n\xe8nd");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QByteArray(kMaxLine - 1, 'x'));
    EXPECT_EQ(lines[1], "\xe8nd");
}

TEST(LineReader, DecodesUtf8ElseWindows1252)
{
    EXPECT_EQ(text::decode8bit("plain"), "plain");
    EXPECT_EQ(text::decode8bit("cr\xc3\xa8me"), QString::fromUtf8("crème"));
    EXPECT_EQ(text::decode8bit("\xef\xbb\xbf" "caf\xc3\xa9"), QString::fromUtf8("café"));
    EXPECT_EQ(text::decode8bit("cr\xe8me \x93q\x94 \x80"), QString::fromUtf8("crème “q” €"));
    EXPECT_EQ(text::decode8bit(QByteArray("a\0b", 3)), QString(QStringLiteral("a")) + QChar(0) + "b");
}

// A file is UTF-8 only when all of it is: otherwise every line is in the code page of the user's
// language, also lines whose bytes happen to be valid UTF-8 ("KÓŁKA" in Windows-1250 reads as UTF-8
// "KӣKA"). The decision holds across the reader's chunks and the characters they cut.
TEST(LineReader, DecidesTheCharacterSetForTheWholeFile)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const QByteArray kolka = "MARCHEW W K\xd3\xa3KA"; // valid UTF-8 by chance
    const QByteArray zurek = "\xafUREK";              // not UTF-8
    const QByteArray filler(3 << 20, 'x');            // past the reader's chunks and its look-ahead
    const QByteArray euro = "\xe2\x82\xac";
    const struct {
        const char* name;
        QByteArray bytes;
        bool utf8;
    } cases[] = {
        {"code page, the UTF-8 look-alike first", kolka + "\r\nD\xd3\xa3\r\n" + zurek + "\r\n", false},
        {"code page, its first stranger megabytes later", kolka + "\r\n" + filler + "\r\n" + zurek, false},
        {"UTF-8 throughout, a character across every chunk edge",
         "\xc5\xbb\r\n" + QByteArray(65531, 'x') + euro + QByteArray((1 << 20) - 3, 'y') + euro + "\r\n" + euro,
         true},
        {"UTF-8 cut short in its last character", euro + "\r\n" + filler + "\xe2\x82", false},
        {"UTF-8 with a byte-order mark", "\xef\xbb\xbf" + euro + "\r\nK\xc3\x93\xc5\x81KA", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text::isValidUtf8(c.bytes), c.utf8); // the case is what it says
        const QList<QByteArray> lines = readAll(c.bytes);
        ASSERT_FALSE(lines.isEmpty());
    }

    QTemporaryDir dir;
    writeBytes(dir.filePath("pl.mmf"), kolka + "\r\n" + zurek + "\r\n");
    text::LineReader in(dir.filePath("pl.mmf"));
    EXPECT_EQ(in.readLine(), QString::fromUtf8("MARCHEW W KÓŁKA"));
    EXPECT_EQ(in.readLine(), QString::fromUtf8("ŻUREK"));
    QLocale::setDefault(previous);
}

} // namespace
