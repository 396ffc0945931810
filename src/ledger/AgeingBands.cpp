#include "AgeingBands.h"

#include <charconv>

namespace {

constexpr std::string_view kFullWidthComma = "，";

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

int days(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > kLongestAgeingBand)
        throw AgeingBandsError("age bands are whole numbers of days from 1 to " +
                               std::to_string(kLongestAgeingBand) + ": " + std::string(text));
    return value;
}

} // namespace

AgeingBands parseAgeingBands(std::string_view text) {
    AgeingBands bands;
    while (true) {
        std::size_t comma = text.find(',');
        std::size_t width = 1;
        if (const std::size_t wide = text.find(kFullWidthComma); wide < comma) {
            comma = wide;
            width = kFullWidthComma.size();
        }
        bands.push_back(days(trimmed(text.substr(0, comma))));
        if (bands.size() > 1 && bands.back() <= bands[bands.size() - 2])
            throw AgeingBandsError("age bands must rise: " + std::to_string(bands.back()) +
                                   " follows " + std::to_string(bands[bands.size() - 2]));
        if (bands.size() > kMostAgeingBands)
            throw AgeingBandsError("at most " + std::to_string(kMostAgeingBands) + " age bands");
        if (comma == std::string_view::npos)
            return bands;
        text.remove_prefix(comma + width);
    }
}

std::string ageingBandsText(const AgeingBands& bands) {
    std::string text;
    for (const int band : bands)
        text += (text.empty() ? "" : ",") + std::to_string(band);
    return text;
}

std::vector<std::string> ageingBandTitles(const AgeingBands& bands) {
    std::vector<std::string> titles;
    int first = 0;
    for (const int last : bands) {
        titles.push_back(std::to_string(first) + "-" + std::to_string(last) + "天");
        first = last + 1;
    }
    titles.push_back(std::to_string(bands.empty() ? 0 : bands.back()) + "天以上");
    return titles;
}
