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

    // Decoded lines are decoded straight from the reader's buffer: the same lines, whatever the chunks.
    text::LineReader decoding(path);
    QStringList decoded;
    while (!decoding.atEnd())
        decoded << decoding.readLine();
    EXPECT_THROW(decoding.readLine(), AppError);
    EXPECT_EQ(decoded.size(), lines.size());
    for (qsizetype i = 0; i < std::min(decoded.size(), lines.size()); ++i)
        EXPECT_EQ(decoded[i], text::decode8bit(lines[i])) << "line " << i;
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

} // namespace
