#include "platform/AppError.h"
#include "platform/text/Codec.h"
#include "platform/text/FileRegistry.h"
#include "platform/text/LineFile.h"
#include "platform/text/TextRules.h"
#include "support/TestFiles.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QDir>
#include <gtest/gtest.h>

namespace {
QByteArray highRange()
{
    QByteArray bytes;
    for (int b = 0x80; b <= 0x9F; ++b)
        bytes.append(static_cast<char>(b));
    return bytes;
}

template <typename F>
int errorNumber(F&& f)
{
    try {
        f();
    } catch (const AppError& e) {
        return e.number;
    }
    return 0;
}
} // namespace

TEST(Codec, Cp1252HighRangeMapsEveryByte)
{
    // The code page's own characters in 0x80..0x9F; 0 marks the five bytes it leaves undefined.
    const char16_t expected[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                   0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                   0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    const QString decoded = text::decodeAs(highRange(), "windows-1252");
    ASSERT_EQ(decoded.size(), 32);
    for (int i = 0; i < 32; ++i) {
        const char16_t want = expected[i] ? expected[i] : char16_t(0x80 + i);
        EXPECT_EQ(decoded[i].unicode(), want) << "byte 0x" << std::hex << 0x80 + i;
    }
    EXPECT_EQ(text::encodeExactly(decoded, "windows-1252"), highRange());
    EXPECT_EQ(text::encodeWithReferences(decoded, "windows-1252"), highRange());
}

TEST(Codec, WritesWhatTheCharsetCannotHoldAsReferences)
{
    const QString s = QString::fromUtf8("caf\u00e9 \u2014 \u4e2d \U0001F600!");
    EXPECT_EQ(text::encodeExactly(s, "windows-1252"), std::nullopt);
    EXPECT_EQ(text::encodeWithReferences(s, "windows-1252"), QByteArray("caf\xe9 \x97 &#20013; &#128512;!"));
    const QString polish = QString::fromUtf8("Żurek, łosoś i Μουσακάς");
    EXPECT_EQ(text::encodeWithReferences(polish, "windows-1250"),
              QByteArray("\xaf" "urek, \xb3oso\x9c i &#924;&#959;&#965;&#963;&#945;&#954;&#940;&#962;"));
    // A long text with one stranger in it keeps every other character.
    const QString long1250 = QString::fromUtf8("Łódź ").repeated(1000) + QChar(0x5BFF) + QString::fromUtf8(" Łódź");
    const QByteArray bytes = text::encodeWithReferences(long1250, "windows-1250");
    EXPECT_EQ(bytes, QByteArray("\xa3\xf3" "d\x9f ").repeated(1000) + "&#23551; \xa3\xf3" "d\x9f");
}

TEST(Codec, Decode8bitTakesUtf8OnlyWhenValid)
{
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"caf\xc3\xa9", QString::fromUtf8("caf\u00e9")},                 // valid UTF-8
        {"\xef\xbb\xbf" "bom", "bom"},                                   // byte-order mark dropped
        {"caf\xe9", QString::fromUtf8("caf\u00e9")},                     // Windows-1252
        {"\x93quoted\x94 \x80", QString::fromUtf8("\u201cquoted\u201d \u20ac")},
        {"ends in half a character \xc3", QString::fromUtf8("ends in half a character \u00c3")},
        {"\xc3\xa9 then \xe9", QString::fromUtf8("\u00c3\u00a9 then \u00e9")}, // mixed: all Windows-1252
        {"", ""},
    };
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const Case& c : cases)
        EXPECT_EQ(text::decode8bit(c.bytes), c.text) << c.bytes.toHex().constData();
    QLocale::setDefault(QLocale::system());
}

// The user's language chooses the code page of 8-bit files, as Windows chose it for each language.
TEST(Codec, EightBitTextIsInTheCodePageOfTheUsersLanguage)
{
    struct Case {
        const char* locale;
        QByteArray codePage;
        QString word;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"fr_FR", "windows-1252", QString::fromUtf8("Œufs à la neige"), "\x8cufs \xe0 la neige"},
        {"de_DE", "windows-1252", QString::fromUtf8("Äpfel, Straße"), "\xc4pfel, Stra\xdf" "e"},
        {"pl_PL", "windows-1250", QString::fromUtf8("Żurek, łosoś"), "\xafurek, \xb3oso\x9c"},
        {"cs_CZ", "windows-1250", QString::fromUtf8("Svíčková"), "Sv\xed\xe8kov\xe1"},
        {"el_GR", "windows-1253", QString::fromUtf8("Μουσακάς"), "\xcc\xef\xf5\xf3\xe1\xea\xdc\xf2"},
        {"ru_RU", "windows-1251", QString::fromUtf8("Борщ"), "\xc1\xee\xf0\xf9"},
        {"tr_TR", "windows-1254", QString::fromUtf8("Çörek ğ"), "\xc7\xf6rek \xf0"},
        {"lt_LT", "windows-1257", QString::fromUtf8("Šaltibarščiai"), "\xd0" "altibar\xf0\xe8iai"},
        {"ja_JP", "Shift_JIS", QString::fromUtf8("寿司"), "\x8e\xf5\x8e\x69"},
        {"en_US", "windows-1252", QString::fromUtf8("Crème brûlée"), "Cr\xe8me br\xfbl\xe9" "e"},
    };
    for (const Case& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(text::localCodePage(), c.codePage) << c.locale;
        EXPECT_EQ(text::encode8bit(c.word), c.bytes) << c.locale;
        EXPECT_EQ(text::decode8bit(c.bytes), c.word) << c.locale;
        EXPECT_EQ(text::decode8bit(c.word.toUtf8()), c.word) << c.locale << ": valid UTF-8 comes first";
    }
    QLocale::setDefault(QLocale("pl_PL"));
    EXPECT_EQ(text::encode8bit(QString::fromUtf8("Żurek i Μουσακάς")), std::nullopt) << "Greek is no Polish letter";
    EXPECT_EQ(text::codePageOf(QLocale("sr_Latn_RS")), "windows-1250");
    EXPECT_EQ(text::codePageOf(QLocale("sr_Cyrl_RS")), "windows-1251");
    EXPECT_EQ(text::codePageOf(QLocale("zh_TW")), "Big5");
    EXPECT_EQ(text::codePageOf(QLocale("zh_CN")), "GBK");
    QLocale::setDefault(QLocale::system());
}

class LineFiles : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.path() + '/' + name; }
    QStringList readAll(const QByteArray& bytes)
    {
        writeBytes(path("in.txt"), bytes);
        text::LineReader r(path("in.txt"));
        QStringList lines;
        while (!r.atEnd())
            lines << r.readLine();
        return lines;
    }
    QTemporaryDir dir;
};

TEST_F(LineFiles, ReaderAcceptsEveryLineEnd)
{
    const QStringList abc{"a", "b", "c"};
    EXPECT_EQ(readAll("a\r\nb\r\nc\r\n"), abc);
    EXPECT_EQ(readAll("a\nb\nc\n"), abc);
    EXPECT_EQ(readAll("a\rb\rc\r"), abc);
    EXPECT_EQ(readAll("a\r\nb\nc"), abc);                       // last line without a line end
    EXPECT_EQ(readAll("a\r\n\r\nb"), (QStringList{"a", "", "b"})); // an empty line stays
    EXPECT_EQ(readAll("a\n\rb"), (QStringList{"a", "", "b"}));     // LF then CR are two line ends
    EXPECT_EQ(readAll(""), QStringList());
    EXPECT_EQ(readAll("Cr\xe8me \x96 br\xfbl\xe9"), QStringList{QString::fromUtf8("Cr\u00e8me \u2013 br\u00fbl\u00e9")});
}

TEST_F(LineFiles, ReaderKeepsCrLfTogetherAcrossItsBuffer)
{
    // A CR as the last byte of one read and its LF as the first of the next make one line end.
    for (const int before : {65535, 65536, 65534}) {
        QByteArray bytes(before, 'x');
        bytes.append("\r\nnext\r\n");
        const QStringList lines = readAll(bytes);
        ASSERT_EQ(lines.size(), 2) << before;
        EXPECT_EQ(lines[0].size(), before);
        EXPECT_EQ(lines[1], "next");
    }
}

TEST_F(LineFiles, ReadingPastTheEndRaisesError62)
{
    writeBytes(path("in.txt"), "only\r\n");
    text::LineReader r(path("in.txt"));
    EXPECT_EQ(r.readLine(), "only");
    EXPECT_TRUE(r.atEnd());
    try {
        r.readLine();
        FAIL() << "no error past the end";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, 62);
        EXPECT_EQ(e.description, "Input past end of file");
    }
}

TEST_F(LineFiles, OpeningFailuresCarryTheFileErrorNumbers)
{
    EXPECT_EQ(errorNumber([&] { text::LineReader r(path("missing.txt")); }), 53);
    EXPECT_EQ(errorNumber([&] { text::LineReader r(dir.path()); }), 75);
    EXPECT_EQ(errorNumber([&] { text::LineWriter w(path("no/such/folder/out.txt")); }), 75);
    EXPECT_EQ(errorNumber([&] { text::readAllBytes(path("missing.txt")); }), 53);
}

// The writer keeps to the user's code page while every character fits it; one that does not turns the
// whole file into UTF-8, so that nothing becomes "?".
TEST_F(LineFiles, WriterWritesTheCodePageOrElseTheWholeFileAsUtf8)
{
    struct Case {
        const char* locale;
        QStringList lines;
        QByteArray bytes;
    } cases[] = {
        {"fr_FR", {QString::fromUtf8("Cr\u00e8me br\u00fbl\u00e9e \u2013 \u20ac5"), "", "Œufs"},
         "Cr\xe8me br\xfbl\xe9" "e \x96 \x80" "5\r\n\r\n\x8c" "ufs\r\n"},
        {"pl_PL", {QString::fromUtf8("Żurek"), QString::fromUtf8("Łosoś")}, "\xafurek\r\n\xa3oso\x9c\r\n"},
        {"el_GR", {QString::fromUtf8("Μουσακάς")}, "\xcc\xef\xf5\xf3\xe1\xea\xdc\xf2\r\n"},
        {"ja_JP", {QString::fromUtf8("寿司")}, "\x8e\xf5\x8e\x69\r\n"},
        {"de_DE", {QString::fromUtf8("Äpfel"), "", QString::fromUtf8("Żurek"), QString::fromUtf8("Straße")},
         QString::fromUtf8("Äpfel\r\n\r\nŻurek\r\nStraße\r\n").toUtf8()},
        {"pl_PL", {QString::fromUtf8("Żurek"), QString::fromUtf8("寿司"), QString::fromUtf8("łosoś")},
         QString::fromUtf8("Żurek\r\n寿司\r\nłosoś\r\n").toUtf8()},
    };
    for (const Case& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        {
            text::LineWriter w(path("out.txt"));
            for (const QString& line : c.lines)
                w.writeLine(line);
            w.commit();
        }
        EXPECT_EQ(readBytes(path("out.txt")), c.bytes) << c.locale;
        text::LineReader r(path("out.txt"));
        QStringList back;
        while (!r.atEnd())
            back << r.readLine();
        EXPECT_EQ(back, c.lines) << c.locale;
    }
    QLocale::setDefault(QLocale::system());
}

// The writer streams: a line that does not fit the code page after megabytes that did turns the file
// into UTF-8 by reading those back, characters of two bytes split between chunks included.
TEST_F(LineFiles, WriterTurnsAFileUtf8AtItsFirstStrangerHoweverLate)
{
    const struct {
        const char* locale;
        QString line, stranger;
    } cases[] = {{"ja_JP", QString::fromUtf8("寿司と天ぷら"), QString::fromUtf8("Żurek")},
                 {"pl_PL", QString::fromUtf8("Żurek, łosoś"), QString::fromUtf8("寿司")}};
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        QByteArray expected;
        {
            text::LineWriter w(path("out.txt"));
            for (int i = 0; i < 100000; ++i) {
                const QString line = i % 2 ? c.line : QString("%1 ").arg(i) + c.line;
                w.writeLine(line);
                expected += line.toUtf8() + "\r\n";
            }
            w.writeLine(c.stranger);
            w.writeLine(c.line);
            w.commit();
        }
        expected += c.stranger.toUtf8() + "\r\n" + c.line.toUtf8() + "\r\n";
        EXPECT_TRUE(readBytes(path("out.txt")) == expected) << c.locale;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.txt"}) << "no temporary file left";
    }
    QLocale::setDefault(QLocale::system());
}

TEST_F(LineFiles, CloseAllFilesFailsReadersAndDropsUnfinishedWrites)
{
    writeBytes(path("in.txt"), "one\r\ntwo\r\n");
    writeBytes(path("out.txt"), "the old file\r\n");
    text::LineReader r(path("in.txt"));
    EXPECT_EQ(r.readLine(), "one");
    text::LineWriter w(path("out.txt"));
    w.writeLine("half");

    text::closeAllFiles();

    // A reader closed under its caller is an error, never an end of file.
    EXPECT_EQ(errorNumber([&] { r.atEnd(); }), 52);
    EXPECT_EQ(errorNumber([&] { r.readLine(); }), 52);
    EXPECT_EQ(errorNumber([&] { w.writeLine("lost"); }), 52);
    EXPECT_EQ(readBytes(path("out.txt")), QByteArray("the old file\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no temporary file left";
}

TEST_F(LineFiles, WriterReplacesTheTargetOnlyWhenComplete)
{
    writeBytes(path("out.txt"), "old\r\n");
    {
        text::LineWriter w(path("out.txt"));
        w.writeLine("new");
        EXPECT_EQ(readBytes(path("out.txt")), QByteArray("old\r\n")); // not yet
        w.commit();
    }
    EXPECT_EQ(readBytes(path("out.txt")), QByteArray("new\r\n"));
    {
        text::LineWriter w(path("out.txt"));
        w.writeLine("abandoned");
    } // no commit: an error ended the writing
    EXPECT_EQ(readBytes(path("out.txt")), QByteArray("new\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.txt"});
}

TEST_F(LineFiles, ReaderCapsLinesAndRecords)
{
    // An overlong line keeps its first MiB, cut before a character that the cut would split.
    const qsizetype cap = text::LineReader::kMaxLineBytes;
    QByteArray longLine(cap - 1, 'x');
    longLine += "\xc3\xa9" + QByteArray(3 * cap, 'y');
    writeBytes(path("long.txt"), longLine + "\r\nnext\r\n");
    {
        text::LineReader r(path("long.txt"));
        const QString first = r.readLine();
        EXPECT_EQ(first.size(), cap - 1);
        EXPECT_EQ(r.readLine(), "next");
        EXPECT_TRUE(r.atEnd());
    }
    // A record limit stops the reader before the first line past it; lifting it reads on.
    writeBytes(path("rec.txt"), "12345\r\n67890\r\nafter\r\n");
    text::LineReader r(path("rec.txt"));
    r.startRecord(7); // the first line and its CR LF
    EXPECT_EQ(r.readLine(), "12345");
    EXPECT_EQ(r.readLine(), "67890");
    EXPECT_THROW(r.readLine(), text::RecordTooLarge);
    r.endRecord();
    EXPECT_EQ(r.readLine(), "after");
}

// Proper-casing follows the user's language: Turkish and Azeri pair i with İ and ı with I; elsewhere İ
// stays a capital i. Greek words end in a final sigma; blanks are kept as they are.
TEST(TextRules, ProperCaseWritesLettersAsTheUsersLanguageDoes)
{
    const struct {
        QLocale locale;
        const char* text;
        const char* expected;
    } cases[] = {
        {QLocale("tr_TR"), "imam bayıldı", "İmam Bayıldı"},
        {QLocale("tr_TR"), "IRMIK HELVASI", "Irmık Helvası"},
        {QLocale("tr_TR"), "İÇLİ KÖFTE", "İçli Köfte"},
        {QLocale("az_AZ"), "IRMIK", "Irmık"},
        {QLocale("en_US"), "IRMIK HELVASI", "Irmik Helvasi"},
        {QLocale("en_US"), "imam bayıldı", "Imam Bayıldı"},
        {QLocale("en_US"), "İÇLİ KÖFTE", "İçli Köfte"},
        {QLocale("en_US"), "apple  PIE ", "Apple  Pie "},
        {QLocale("en_US"), "o'BRIEN's (BEST) stew", "O'brien's (best) Stew"},
        {QLocale("de_DE"), "STRASSE straße", "Strasse Straße"},
        {QLocale("el_GR"), "ΚΕΦΤΕΔΕΣ ΣΤΟ ΦΟΎΡΝΟ", "Κεφτεδες Στο Φούρνο"},
    };
    const QLocale previous;
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_EQ(text::properCase(QString::fromUtf8(c.text)), QString::fromUtf8(c.expected))
            << c.locale.name().toStdString() << " " << c.text;
    }
    QLocale::setDefault(previous);
}
