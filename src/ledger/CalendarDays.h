#pragma once

#include <string>

// The day after a "yyyy-mm-dd" day, in that form: where a period's last day ends (a booking
// on that day at any time of day belongs to it); for 9999-12-31, the last moment of that day.
std::string dayAfter(const std::string& day);

// The day `days` days before a "yyyy-mm-dd" day, in that form; never before 1753-01-01, the
// first day a server's datetime holds (a value on or after it is every value there is).
std::string daysBefore(const std::string& day, int days);
