#include "core/text/TextBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(LeftBytes, ChineseCountsTwoAsciiOne)
{
    const QString six = QString::fromUtf8("台灣積體電路");
    EXPECT_EQ(LeftBytes(six, 10), QString::fromUtf8("台灣積體電"));
    EXPECT_EQ(LeftBytes("2330A1", 5), "2330A");
    EXPECT_EQ(LeftBytes("2330", 10), "2330");
    EXPECT_EQ(LeftBytes("", 5), "");
}

TEST(LeftBytes, NeverSplitsACharacter)
{
    // 9 bytes allowed: four Chinese characters (8 bytes) fit, the fifth does not.
    EXPECT_EQ(LeftBytes(QString::fromUtf8("台灣積體電路"), 9), QString::fromUtf8("台灣積體"));
    EXPECT_EQ(LeftBytes(QString::fromUtf8("A台B"), 2), "A");
    EXPECT_EQ(LeftBytes(QString::fromUtf8("A台B"), 3), QString::fromUtf8("A台"));
    const QString emoji = QString::fromUtf8("1😀2");
    EXPECT_EQ(LeftBytes(emoji, 2), QString::fromUtf8("1😀"));
    EXPECT_EQ(LeftBytes(emoji, 1), "1");
}

TEST(Big5Length, MatchesTheCodePage)
{
    EXPECT_EQ(Big5Length(QString::fromUtf8("台積電")), 6);
    EXPECT_EQ(Big5Length("2330"), 4);
    EXPECT_EQ(Big5Length(QString::fromUtf8("ＡＢ")), 4);   // full-width letters are double-byte in Big5
    EXPECT_EQ(Big5Length(QString::fromUtf8("😀")), 1);    // not in Big5: one '?'
}

} // namespace
