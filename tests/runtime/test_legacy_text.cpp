#include "runtime/text/legacy_text.h"

#include <gtest/gtest.h>

TEST(LegacyText, EveryByteRoundTripsThroughQStringAndUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(rt::fromQString(rt::toQString(all)), all);
    EXPECT_EQ(rt::fromUtf8(rt::toUtf8(all)), all);
}

TEST(LegacyText, UsesTheWindows1252TableWithTheFiveUndefinedBytes)
{
    EXPECT_EQ(rt::toQString("\x80").at(0).unicode(), 0x20AC);
    EXPECT_EQ(rt::toQString("\x91").at(0).unicode(), 0x2018);
    EXPECT_EQ(rt::toQString("\xA7").at(0).unicode(), 0x00A7);
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(rt::toQString(std::string(1, char(b))).at(0).unicode(), b);
    EXPECT_EQ(rt::toUtf8("\x91"), "\xE2\x80\x98");
}

TEST(LegacyText, CharactersWithoutAByteBecomeQuestionMarks)
{
    EXPECT_EQ(rt::fromQString(QString::fromUtf8("a\xE1\x9E\x80" "b")), "a?b");
    EXPECT_EQ(rt::fromUtf8("a\xF0\x9F\x98\x80" "b"), "a?b");
}
