#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The age bands of the stock ageing: the last day of each band but the open last one, in days,
// rising; 30, 60 make the bands 0-30, 31-60 and over 60 days.
using AgeingBands = std::vector<int>;

inline const AgeingBands kDefaultAgeingBands{30, 60, 90, 180, 365};
inline constexpr std::size_t kMostAgeingBands = 12;
inline constexpr int kLongestAgeingBand = 36500; // a hundred years

// A list of bands that cannot be used; its text says why.
class AgeingBandsError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// "30,60,90" (blanks and "，" allowed between the numbers) as bands; throws AgeingBandsError
// unless they are 1 to 12 rising whole numbers of days from 1 to 36500.
AgeingBands parseAgeingBands(std::string_view text);
// The bands as parseAgeingBands reads them: "30,60,90".
std::string ageingBandsText(const AgeingBands& bands);
// A title per band, as the result's columns are named: "0-30天", "31-60天", …, "365天以上".
std::vector<std::string> ageingBandTitles(const AgeingBands& bands);
