#include "result/FixedPoint.h"

#include <gtest/gtest.h>

TEST(FixedPoint, DecimalTextRoundsToTenThousandthsHalfToEven) {
    EXPECT_EQ(tenThousandthsFromText("12.5"), 125000);
    EXPECT_EQ(tenThousandthsFromText("-3.25"), -32500);
    EXPECT_EQ(tenThousandthsFromText("7"), 70000);
    EXPECT_EQ(tenThousandthsFromText(".5"), 5000);
    EXPECT_EQ(tenThousandthsFromText("0.03125"), 312);  // tie, 2 is even
    EXPECT_EQ(tenThousandthsFromText("0.03135"), 314);  // tie, 3 is odd
    EXPECT_EQ(tenThousandthsFromText("0.031251"), 313); // above the tie
    EXPECT_EQ(tenThousandthsFromText("-0.03125"), -312);
    EXPECT_EQ(tenThousandthsFromText("123.456789"), 1234568);
    EXPECT_EQ(tenThousandthsFromText("1E+3"), 10000000);
}

TEST(FixedPoint, RejectsTextThatIsNoNumberOrDoesNotFit) {
    EXPECT_FALSE(tenThousandthsFromText(""));
    EXPECT_FALSE(tenThousandthsFromText("-"));
    EXPECT_FALSE(tenThousandthsFromText("12a"));
    EXPECT_FALSE(tenThousandthsFromText("1.2.3"));
    EXPECT_FALSE(tenThousandthsFromText("922337203685477.5808"));
    EXPECT_EQ(tenThousandthsFromText("922337203685477.5807"), INT64_MAX);
    EXPECT_EQ(tenThousandthsFromText("-922337203685477.5808"), INT64_MIN);
}

TEST(FixedPoint, DoublesRoundHalfToEven) {
    EXPECT_EQ(tenThousandthsFromDouble(0.03125), 312);
    EXPECT_EQ(tenThousandthsFromDouble(2.5), 25000);
    EXPECT_EQ(tenThousandthsFromDouble(-3.25), -32500);
    EXPECT_FALSE(tenThousandthsFromDouble(1e300));
    EXPECT_FALSE(tenThousandthsFromDouble(std::numeric_limits<double>::quiet_NaN()));
}
