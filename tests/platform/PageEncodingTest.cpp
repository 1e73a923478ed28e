// The encoding of the pages made from templates, found again from their own bytes.
#include "platform/text/PageEncoding.h"

#include <gtest/gtest.h>

TEST(PageEncoding, EveryReaderFindsThePagesEncodingFromItsOwnBytes)
{
    struct Case {
        QByteArray bytes;
        text::PageEncoding encoding;
        QString decoded;
    };
    const QString creme = QString::fromUtf8("Cr\u00e8me");
    const Case cases[] = {
        {"<meta charset=\"windows-1252\">Cr\xE8me", text::PageEncoding::Windows1252, "<meta charset=\"windows-1252\">" + creme},
        {"<META CHARSET='ISO-8859-1'>Cr\xC3\xA8me", text::PageEncoding::Windows1252,
         "<META CHARSET='ISO-8859-1'>Cr\u00c3\u00a8me"},
        {"<meta charset=utf-8>Cr\xC3\xA8me", text::PageEncoding::Utf8, "<meta charset=utf-8>" + creme},
        {"<meta charset=utf-8>Cr\xE8me", text::PageEncoding::Utf8, "<meta charset=utf-8>" + creme},
        {"Cr\xC3\xA8me", text::PageEncoding::Utf8, creme},
        {"Cr\xE8me", text::PageEncoding::Windows1252, creme},
        {"<meta charset=koi8-r>Cr\xE8me", text::PageEncoding::Windows1252, "<meta charset=koi8-r>" + creme},
        {"plain", text::PageEncoding::Utf8, "plain"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text::PageEncodingOf(c.bytes), c.encoding) << c.bytes.constData();
        EXPECT_EQ(text::DecodePage(c.bytes), c.decoded) << c.bytes.constData();
    }
    EXPECT_EQ(text::EncodePage(creme + QChar(0x6F22), text::PageEncoding::Windows1252), "Cr\xE8me&#28450;");
    EXPECT_EQ(text::EncodePage(creme, text::PageEncoding::Utf8), "Cr\xC3\xA8me");
}
