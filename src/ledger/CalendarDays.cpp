#include "CalendarDays.h"

#include "result/DateTime.h"

#include <cstdio>

namespace {

constexpr const char* kFirstServerDay = "1753-01-01";

// The day `days` days after `day` (before it when negative), as "yyyy-mm-dd".
std::string shifted(const std::string& day, long long days) {
    CivilDateTime date = parseIsoDateTime(day).value_or(CivilDateTime{});
    date = fromEpochMilliseconds(toEpochMilliseconds(date) + days * kMillisecondsPerDay);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

} // namespace

std::string dayAfter(const std::string& day) {
    if (day >= "9999-12-31") // the last day a date can name: its last moment
        return "9999-12-31 23:59:59.997";
    return shifted(day, 1);
}

std::string daysBefore(const std::string& day, int days) {
    const std::string before = shifted(day, -static_cast<long long>(days));
    return before < kFirstServerDay || before.size() != 10 ? kFirstServerDay : before;
}
