#pragma once

#include "result/DateTime.h"

#include <ctime>

// Today's date on the local clock, without a time of day.
inline CivilDateTime localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}
