#include "DateTime.h"

#include <charconv>

namespace {

// Days from 1970-01-01 to the given civil date (Howard Hinnant's algorithm).
std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Reads exactly `width` digits at `pos`.
bool readDigits(std::string_view text, std::size_t pos, std::size_t width, int& out) {
    if (pos + width > text.size())
        return false;
    for (std::size_t i = pos; i < pos + width; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    std::from_chars(text.data() + pos, text.data() + pos + width, out);
    return true;
}

} // namespace

bool isCalendarTime(const CivilDateTime& v) {
    return v.year >= 1 && v.year <= 9999 && v.month >= 1 && v.month <= 12 && v.day >= 1 &&
           v.day <= daysInMonth(v.year, v.month) && v.hour >= 0 && v.hour <= 23 && v.minute >= 0 &&
           v.minute <= 59 && v.second >= 0 && v.second <= 59 && v.millisecond >= 0 &&
           v.millisecond <= 999;
}

std::int64_t toEpochMilliseconds(const CivilDateTime& v) {
    return daysFromCivil(v.year, v.month, v.day) * kMillisecondsPerDay +
           ((v.hour * 60 + v.minute) * 60 + v.second) * 1000LL + v.millisecond;
}

CivilDateTime fromEpochMilliseconds(std::int64_t ms) {
    std::int64_t days = ms / kMillisecondsPerDay;
    std::int64_t rest = ms % kMillisecondsPerDay;
    if (rest < 0) {
        rest += kMillisecondsPerDay;
        --days;
    }
    CivilDateTime v;
    civilFromDays(days, v.year, v.month, v.day);
    v.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    v.second = static_cast<int>(rest % 60);
    rest /= 60;
    v.minute = static_cast<int>(rest % 60);
    v.hour = static_cast<int>(rest / 60);
    return v;
}

std::optional<CivilDateTime> parseIsoDateTime(std::string_view text) {
    CivilDateTime v;
    if (!readDigits(text, 0, 4, v.year) || text.size() < 10 || text[4] != '-' ||
        !readDigits(text, 5, 2, v.month) || text[7] != '-' || !readDigits(text, 8, 2, v.day))
        return std::nullopt;
    if (!isCalendarTime(v))
        return std::nullopt;
    if (text.size() == 10)
        return v;
    if ((text[10] != ' ' && text[10] != 'T') || !readDigits(text, 11, 2, v.hour) ||
        text.size() < 16 || text[13] != ':' || !readDigits(text, 14, 2, v.minute))
        return std::nullopt;
    std::size_t pos = 16;
    if (pos < text.size()) {
        if (text[pos] != ':' || !readDigits(text, pos + 1, 2, v.second))
            return std::nullopt;
        pos += 3;
    }
    if (pos < text.size()) {
        if (text[pos] != '.' || !readDigits(text, pos + 1, 3, v.millisecond) ||
            pos + 4 != text.size())
            return std::nullopt;
    }
    if (!isCalendarTime(v))
        return std::nullopt;
    return v;
}
