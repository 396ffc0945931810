#include "table/CellText.h"
#include "result/DateTime.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {
const CellText kC{QLocale::c()};
const CellText kGerman{QLocale(QLocale::German, QLocale::Germany)};
} // namespace

TEST(CellText, FixedPointDropsTrailingZerosAndUsesTheLocaleSeparator) {
    EXPECT_EQ(kC.decimal(125000), "12.5");
    EXPECT_EQ(kC.decimal(1000000), "100");
    EXPECT_EQ(kC.decimal(-32500), "-3.25");
    EXPECT_EQ(kC.decimal(0), "0");
    EXPECT_EQ(kC.decimal(-1), "-0.0001");
    EXPECT_EQ(kC.decimal(12345678901234567), "1234567890123.4567");
    EXPECT_EQ(kC.decimal(INT64_MIN), "-922337203685477.5808");
    EXPECT_EQ(kGerman.decimal(125000), "12,5");
}

TEST(CellText, DoublesShowFifteenSignificantDigitsInTheGeneralFormat) {
    EXPECT_EQ(kC.real(1234.5), "1234.5");
    EXPECT_EQ(kC.real(-3), "-3");
    EXPECT_EQ(kC.real(0), "0");
    EXPECT_EQ(kC.real(0.1 + 0.2), "0.3");
    EXPECT_EQ(kC.real(123456789012345678.0), "1.23456789012346E17");
    EXPECT_EQ(kC.real(0.00001), "0.00001");
    EXPECT_EQ(kC.real(0.000001), "1E-6");
    EXPECT_EQ(kGerman.real(-0.25), "-0,25");
}

TEST(CellText, DatesShowTheTimeOnlyWhenThereIsOne) {
    const auto day = toEpochMilliseconds({2026, 3, 5});
    const QString date = kC.dateTime(day);
    EXPECT_EQ(date, "2026/3/5"); // the C locale: the Chinese short date, not "5 Mar 2026"
    EXPECT_EQ(kGerman.dateTime(day), "05.03.26");
    const QString withTime = kC.dateTime(toEpochMilliseconds({2026, 3, 5, 8, 30, 15}));
    EXPECT_TRUE(withTime.startsWith(date + " ")) << withTime.toStdString();
    EXPECT_TRUE(withTime.contains("8:30:15")) << withTime.toStdString();
}

TEST(CellText, SumFootersFollowTheFieldKind) {
    EXPECT_EQ(kC.sumText(FieldKind::Double, 12345000), "1234.5");
    EXPECT_EQ(kC.sumText(FieldKind::Decimal, 125000), "12.5");
    EXPECT_EQ(kC.sumText(FieldKind::Integer, 70000), "7");
    EXPECT_EQ(kC.sumText(FieldKind::Text, 70000), "0");
    EXPECT_EQ(kC.sumText(FieldKind::DateTime, 70000), "0");
}
