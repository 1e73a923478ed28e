// The charset of the pages made from templates, found again from their own bytes.
#include "platform/text/PageEncoding.h"

#include <QLocale>
#include <gtest/gtest.h>

TEST(PageEncoding, EveryReaderFindsThePagesCharsetFromItsOwnBytes)
{
    struct Case {
        QByteArray bytes;
        QByteArray charset;
        QString decoded;
    };
    const QString creme = QString::fromUtf8("Cr\u00e8me");
    const Case cases[] = {
        {"<meta charset=\"windows-1252\">Cr\xE8me", "windows-1252", "<meta charset=\"windows-1252\">" + creme},
        {"<META CHARSET='ISO-8859-1'>Cr\xC3\xA8me", "windows-1252", "<META CHARSET='ISO-8859-1'>Cr\u00c3\u00a8me"},
        {"<meta charset=utf-8>Cr\xC3\xA8me", "utf-8", "<meta charset=utf-8>" + creme},
        {"<meta charset=utf-8>Cr\xE8me", "utf-8", "<meta charset=utf-8>" + creme},
        {"<meta charset=UTF-16>Cr\xC3\xA8me", "utf-8", "<meta charset=UTF-16>" + creme},
        {"Cr\xC3\xA8me", "utf-8", creme},
        {"Cr\xE8me", "windows-1252", creme},
        {"<meta charset=windows-1250>Sk\xb3" "adniki", "windows-1250", QString::fromUtf8("<meta charset=windows-1250>Składniki")},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-7\">\xcc\xef\xf5",
         "ISO-8859-7", QString::fromUtf8("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-7\">Μου")},
        {"<meta charset=koi8-r>\xe2\xcf\xd2\xdd", "koi8-r", QString::fromUtf8("<meta charset=koi8-r>Борщ")},
        {"<meta charset=Shift_JIS>\x8e\xf5\x8e\x69", "Shift_JIS", QString::fromUtf8("<meta charset=Shift_JIS>寿司")},
        {"<meta charset=no-such-set>Cr\xE8me", "windows-1252", "<meta charset=no-such-set>" + creme},
        {"plain", "utf-8", "plain"},
    };
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    for (const Case& c : cases) {
        EXPECT_EQ(text::PageCharset(c.bytes), c.charset) << c.bytes.constData();
        EXPECT_EQ(text::DecodePage(c.bytes), c.decoded) << c.bytes.constData();
    }
    // Without a declaration, a page that is no UTF-8 is in the user's code page.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    EXPECT_EQ(text::PageCharset("\xafurek"), "windows-1250");
    EXPECT_EQ(text::DecodePage("\xafurek"), QString::fromUtf8("Żurek"));
    QLocale::setDefault(QLocale::system());

    EXPECT_EQ(text::EncodePage(creme + QChar(0x6F22), "windows-1252"), "Cr\xE8me&#28450;");
    EXPECT_EQ(text::EncodePage(QString::fromUtf8("Składniki: 寿司"), "windows-1250"), "Sk\xb3" "adniki: &#23551;&#21496;");
    EXPECT_EQ(text::EncodePage(QString::fromUtf8("Składniki: 寿司"), "Shift_JIS"), "Sk&#322;adniki: \x8e\xf5\x8e\x69");
    EXPECT_EQ(text::EncodePage(creme, "utf-8"), "Cr\xC3\xA8me");
}
