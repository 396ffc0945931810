#include "db/sqlite/TsqlLike.h"
#include "db/sqlite/TsqlText.h"

#include <gtest/gtest.h>

TEST(TsqlLike, PercentAndUnderscoreCountWholeCharacters) {
    EXPECT_TRUE(tsqlLike("%轴承%", "深沟球轴承6205"));
    EXPECT_FALSE(tsqlLike("%轴承%", "轴套"));
    EXPECT_TRUE(tsqlLike("轴_", "轴承")); // one Chinese character is one "_"
    EXPECT_FALSE(tsqlLike("轴__", "轴承"));
    EXPECT_TRUE(tsqlLike("%%", ""));
    EXPECT_TRUE(tsqlLike("a%b%c", "aXXbYYbZc"));
    EXPECT_FALSE(tsqlLike("a%b%c", "aXXbYYbZ"));
    EXPECT_FALSE(tsqlLike("", "a"));
}

TEST(TsqlLike, LettersMatchEitherCaseBeyondAsciiToo) {
    EXPECT_TRUE(tsqlLike("%abc%", "xxABCxx"));
    EXPECT_TRUE(tsqlLike("M8%", "m8x40"));
    EXPECT_TRUE(tsqlLike("Ä", "ä"));
    EXPECT_TRUE(tsqlLike("%ω%", "10kΩ"));
    EXPECT_TRUE(tsqlLike("[α-γ]", "Β"));
    EXPECT_FALSE(tsqlLike("a", "ä"));         // accents count (accent-sensitive)
    EXPECT_FALSE(tsqlLike("%轴承 ", "轴承")); // a pattern's trailing blank counts in LIKE
}

TEST(TsqlCompare, TextsCompareCaseFoldedWithTrailingBlanksIgnored) {
    EXPECT_EQ(tsqlCompare("01 ", "01"), 0);
    EXPECT_EQ(tsqlCompare("01", "01   "), 0);
    EXPECT_EQ(tsqlCompare("ΩMEGA", "ωmega"), 0);
    EXPECT_EQ(tsqlCompare("Straße", "STRASSE") != 0, true); // simple folding, as the server
    EXPECT_LT(tsqlCompare("01", "02"), 0);
    EXPECT_GT(tsqlCompare("ab", "ab\t"), 0); // the blank it is padded with is above a tab
    EXPECT_LT(tsqlCompare(" 01", "01"), 0);  // leading blanks count
    EXPECT_LT(tsqlCompare("a", "ä"), 0);
}

TEST(TsqlLike, BracketsMatchSetsRangesAndTheirComplements) {
    EXPECT_TRUE(tsqlLike("%[%]%", "50%折扣"));
    EXPECT_FALSE(tsqlLike("%[%]%", "50折扣"));
    EXPECT_TRUE(tsqlLike("[_]1", "_1"));
    EXPECT_FALSE(tsqlLike("[_]1", "a1"));
    EXPECT_TRUE(tsqlLike("[a-c]9", "B9"));
    EXPECT_FALSE(tsqlLike("[a-c]9", "d9"));
    EXPECT_TRUE(tsqlLike("[^a]%", "b"));
    EXPECT_FALSE(tsqlLike("[^a]%", "A"));
    EXPECT_TRUE(tsqlLike("[轴套]%", "套筒"));
    EXPECT_TRUE(tsqlLike("[0-9][0-9]", "07"));
    EXPECT_TRUE(tsqlLike("%[-]%", "A-1")); // a dash alone is itself
}

TEST(TsqlLike, AnUnclosedBracketStandsForItself) {
    EXPECT_TRUE(tsqlLike("a[b", "a[b"));
    EXPECT_FALSE(tsqlLike("a[b", "ab"));
}
