#include "result/DateTime.h"

#include <gtest/gtest.h>

TEST(DateTime, ReadsDatesWithAndWithoutTimeOfDay) {
    const auto date = parseIsoDateTime("2026-03-15");
    ASSERT_TRUE(date);
    EXPECT_EQ(toEpochMilliseconds(*date) % 86'400'000, 0);
    const auto full = parseIsoDateTime("2026-03-15 08:05:09.250");
    ASSERT_TRUE(full);
    EXPECT_EQ(toEpochMilliseconds(*full) - toEpochMilliseconds(*date),
              ((8 * 60 + 5) * 60 + 9) * 1000 + 250);
    EXPECT_TRUE(parseIsoDateTime("2024-02-29T23:59"));
}

TEST(DateTime, RejectsImpossibleOrMalformedDates) {
    for (const char* text :
         {"2023-02-29", "2026-13-01", "2026-00-10", "2026-1-5", "2026-03-15 24:00",
          "2026-03-15 10:60", "2026-03-15x", "15.03.2026", ""})
        EXPECT_FALSE(parseIsoDateTime(text)) << text;
}

TEST(DateTime, EpochMillisecondsRoundTripAcrossEras) {
    for (const CivilDateTime v :
         {CivilDateTime{1899, 12, 30, 0, 0, 0, 0}, CivilDateTime{1970, 1, 1, 0, 0, 0, 1},
          CivilDateTime{2000, 2, 29, 23, 59, 59, 999}, CivilDateTime{9999, 12, 31, 12, 0, 0, 0}}) {
        const CivilDateTime back = fromEpochMilliseconds(toEpochMilliseconds(v));
        EXPECT_EQ(std::tie(back.year, back.month, back.day, back.hour, back.minute, back.second,
                           back.millisecond),
                  std::tie(v.year, v.month, v.day, v.hour, v.minute, v.second, v.millisecond));
    }
    EXPECT_EQ(toEpochMilliseconds({1970, 1, 2}), 86'400'000);
    EXPECT_EQ(toEpochMilliseconds({1969, 12, 31}), -86'400'000);
}
