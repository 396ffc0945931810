#include "ResultSet.h"

#include <algorithm>

namespace {
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool sameFieldName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, {}, lowerAscii, lowerAscii);
}

std::optional<std::size_t> ResultSet::findColumn(std::string_view name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (sameFieldName(columns_[i].name(), name))
            return i;
    return std::nullopt;
}

std::size_t ResultSet::memoryBytes() const {
    std::size_t total = 0;
    for (const ResultColumn& c : columns_)
        total += c.memoryBytes();
    return total;
}
