#include "platform/text/Codec.h"
#include "platform/text/TextRules.h"

#include <gtest/gtest.h>

TEST(Codec, Cp1252HighRangeRoundTrips)
{
    QByteArray bytes;
    for (int b = 0x80; b <= 0x9F; ++b)
        bytes.append(static_cast<char>(b));
    const QString decoded = text::fromCp1252(bytes);
    EXPECT_EQ(decoded[0], QChar(0x20AC));  // euro
    EXPECT_EQ(decoded[0x13], QChar(0x201C)); // left double quote
    EXPECT_EQ(decoded[0x16], QChar(0x2013)); // en dash
    EXPECT_EQ(text::toCp1252(decoded), bytes);
}
