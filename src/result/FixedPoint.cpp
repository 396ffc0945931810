#include "FixedPoint.h"

#include <cmath>
#include <cstdlib>
#include <string>

std::optional<std::int64_t> tenThousandthsFromDouble(double value) {
    const double scaled = std::nearbyint(value * static_cast<double>(kTenThousand));
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!(scaled > -9223372036854775808.0 && scaled < 9223372036854775808.0))
        return std::nullopt;
    return static_cast<std::int64_t>(scaled);
}

std::optional<std::int64_t> tenThousandthsFromText(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';
    if (text.find_first_of("eE") != std::string_view::npos) {
        const std::string copy(text);
        char* end = nullptr;
        const double v = std::strtod(copy.c_str(), &end);
        if (end != copy.c_str() + copy.size())
            return std::nullopt;
        return tenThousandthsFromDouble(v);
    }
    // Magnitude in ten-thousandths, kept unsigned so that INT64_MIN's magnitude fits.
    unsigned long long magnitude = 0;
    constexpr unsigned long long kLimit = 9223372036854775808ULL;
    bool anyDigit = false;
    auto addDigit = [&](int digit) {
        if (magnitude > (kLimit - static_cast<unsigned>(digit)) / 10)
            return false;
        magnitude = magnitude * 10 + static_cast<unsigned>(digit);
        return true;
    };
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, anyDigit = true)
        if (!addDigit(text[pos] - '0'))
            return std::nullopt;
    int decimals = 0;
    int firstDropped = -1; // first digit beyond the fourth decimal
    bool droppedNonZeroAfterFirst = false;
    if (pos < text.size() && text[pos] == '.') {
        for (++pos; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
            anyDigit = true;
            const int digit = text[pos] - '0';
            if (decimals < 4) {
                if (!addDigit(digit))
                    return std::nullopt;
                ++decimals;
            } else if (firstDropped < 0) {
                firstDropped = digit;
            } else if (digit != 0) {
                droppedNonZeroAfterFirst = true;
            }
        }
    }
    if (!anyDigit || pos != text.size())
        return std::nullopt;
    for (; decimals < 4; ++decimals)
        if (!addDigit(0))
            return std::nullopt;
    const bool roundUp = firstDropped > 5 || (firstDropped == 5 && droppedNonZeroAfterFirst) ||
                         (firstDropped == 5 && magnitude % 2 == 1);
    if (roundUp)
        ++magnitude; // cannot wrap: magnitude is at most 2^63 here
    if (magnitude > kLimit || (!negative && magnitude == kLimit))
        return std::nullopt;
    return negative ? static_cast<std::int64_t>(0 - magnitude)
                    : static_cast<std::int64_t>(magnitude);
}
