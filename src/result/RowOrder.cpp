#include "RowOrder.h"

#include "CollationKeys.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <string_view>
#include <utility>

namespace {

// Each row's text as its rank among the column's distinct texts in collation order (texts
// that collate equal share a rank), and the number of ranks.
struct TextRanks {
    std::vector<std::uint32_t> ofRow;
    std::uint32_t count = 0;
};

TextRanks textRanks(const ResultColumn& column) {
    // Rows share a text entry wherever the column met the text recently: the key is made once
    // per entry, found through an open-addressing table of (entry, distinct index).
    constexpr std::uint64_t kFree = ~std::uint64_t{0};
    const int bits = std::max(4, static_cast<int>(std::bit_width(column.size() * 2)));
    std::vector<std::uint64_t> slots(std::size_t{1} << bits, kFree);
    std::vector<std::string_view> texts;
    std::vector<std::uint32_t> distinctOfRow(column.size());
    for (std::size_t row = 0; row < column.size(); ++row) {
        if (column.isNull(row))
            continue;
        const std::uint64_t entry = column.textEntry(row);
        std::size_t slot = (entry * 0x9E3779B97F4A7C15ULL) >> (64 - bits);
        while (slots[slot] != kFree && slots[slot] >> 32 != entry)
            slot = (slot + 1) & (slots.size() - 1);
        if (slots[slot] == kFree) {
            slots[slot] = entry << 32 | texts.size();
            texts.push_back(column.entryText(static_cast<std::uint32_t>(entry)));
        }
        distinctOfRow[row] = static_cast<std::uint32_t>(slots[slot]);
    }
    const CollationKeys keys(texts);
    const std::vector<std::uint32_t> sorted = keys.sortedIndices();
    std::vector<std::uint32_t> rankOfDistinct(texts.size());
    TextRanks ranks;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (i > 0 && keys.key(sorted[i]) != keys.key(sorted[i - 1]))
            ++ranks.count;
        rankOfDistinct[sorted[i]] = ranks.count;
    }
    ranks.count += sorted.empty() ? 0 : 1;
    ranks.ofRow.resize(column.size());
    for (std::size_t row = 0; row < column.size(); ++row)
        ranks.ofRow[row] = column.isNull(row) ? 0 : rankOfDistinct[distinctOfRow[row]];
    return ranks;
}

// A counting sort by rank, stable: rows of one rank keep the database's order.
std::vector<std::uint32_t> orderByRanks(const ResultColumn& column, const TextRanks& ranks,
                                        bool descending) {
    std::vector<std::size_t> next(ranks.count, 0); // rows per rank, then each rank's next place
    std::size_t nulls = 0;
    for (std::size_t row = 0; row < column.size(); ++row) {
        if (column.isNull(row))
            ++nulls;
        else
            ++next[ranks.ofRow[row]];
    }
    std::size_t place = descending ? 0 : nulls;
    const auto placeRank = [&](std::size_t rank) { place += std::exchange(next[rank], place); };
    if (descending)
        for (std::size_t rank = ranks.count; rank-- > 0;)
            placeRank(rank);
    else
        for (std::size_t rank = 0; rank < ranks.count; ++rank)
            placeRank(rank);
    std::size_t nullPlace = descending ? column.size() - nulls : 0;
    std::vector<std::uint32_t> order(column.size());
    for (std::size_t row = 0; row < column.size(); ++row)
        order[column.isNull(row) ? nullPlace++ : next[ranks.ofRow[row]]++] =
            static_cast<std::uint32_t>(row);
    return order;
}

template <typename Key>
std::vector<std::uint32_t> orderByKeys(const ResultColumn& column, const std::vector<Key>& keys,
                                       bool descending) {
    // Nulls first: (not null, key); descending reverses the whole comparison.
    std::vector<std::uint32_t> order(column.size());
    std::iota(order.begin(), order.end(), 0U);
    const auto less = [&](std::uint32_t a, std::uint32_t b) {
        const bool aNull = column.isNull(a);
        const bool bNull = column.isNull(b);
        if (aNull != bNull)
            return aNull;
        return !aNull && keys[a] < keys[b];
    };
    if (descending)
        std::stable_sort(order.begin(), order.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return less(b, a); });
    else
        std::stable_sort(order.begin(), order.end(), less);
    return order;
}

} // namespace

std::vector<std::uint32_t> sortedRowOrder(const ResultColumn& column, bool descending) {
    switch (column.kind()) {
    case FieldKind::Text:
        return orderByRanks(column, textRanks(column), descending);
    case FieldKind::Double: {
        std::vector<double> keys(column.size());
        for (std::size_t row = 0; row < column.size(); ++row)
            keys[row] = column.real(row);
        return orderByKeys(column, keys, descending);
    }
    case FieldKind::Decimal:
    case FieldKind::Integer:
    case FieldKind::DateTime: {
        std::vector<std::int64_t> keys(column.size());
        for (std::size_t row = 0; row < column.size(); ++row)
            keys[row] = column.integer(row);
        return orderByKeys(column, keys, descending);
    }
    }
    return {};
}
