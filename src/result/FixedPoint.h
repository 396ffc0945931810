#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Fixed-point values with four decimals are kept as int64 counts of ten-thousandths.
inline constexpr std::int64_t kTenThousand = 10'000;

// The value rounded to the nearest ten-thousandth, ties to even; nothing when it does not
// fit (or is not a number).
std::optional<std::int64_t> tenThousandthsFromDouble(double value);

// Decimal text as the database writes it ("-12.345678", "7", ".5", "1E+3") rounded to the
// nearest ten-thousandth, ties to even; nothing for text that is no number or does not fit.
std::optional<std::int64_t> tenThousandthsFromText(std::string_view text);
