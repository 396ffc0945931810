#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A date and time of day on the proleptic Gregorian calendar, without a time zone.
struct CivilDateTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

inline constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

// Whether a value in milliseconds since 1970 falls after midnight: a date with a time of day.
constexpr bool hasTimeOfDay(std::int64_t milliseconds) {
    return milliseconds % kMillisecondsPerDay != 0;
}

// Whether the calendar has this moment: years 1 to 9999 (SQL Server's), every part in its
// range, the day in its month.
bool isCalendarTime(const CivilDateTime& value);

// Milliseconds since 1970-01-01 00:00:00, the form a result column keeps.
std::int64_t toEpochMilliseconds(const CivilDateTime& value);
CivilDateTime fromEpochMilliseconds(std::int64_t milliseconds);

// Reads "yyyy-mm-dd", optionally followed by " hh:mm", " hh:mm:ss" or " hh:mm:ss.fff"
// (a "T" may stand for the blank). Returns nothing for any other text or an impossible date.
std::optional<CivilDateTime> parseIsoDateTime(std::string_view text);
