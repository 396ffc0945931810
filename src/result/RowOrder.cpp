#include "RowOrder.h"

#include "DbError.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <string>
#include <unordered_map>

namespace {

struct CollatorCloser {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};

std::unique_ptr<UCollator, CollatorCloser> pinyinCollator() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCollator, CollatorCloser> collator(ucol_open("zh", &status));
    if (U_FAILURE(status))
        throw DbError(std::string("no Chinese collation: ") + u_errorName(status));
    return collator;
}

std::string sortKey(const UCollator* collator, std::string_view utf8, std::u16string& scratch) {
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    scratch.resize(utf8.size() + 1);
    u_strFromUTF8Lenient(reinterpret_cast<UChar*>(scratch.data()),
                         static_cast<int32_t>(scratch.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), &status);
    std::string key(64, '\0');
    for (;;) {
        const int32_t needed = ucol_getSortKey(
            collator, reinterpret_cast<const UChar*>(scratch.data()), length,
            reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
        if (needed <= static_cast<int32_t>(key.size())) {
            key.resize(static_cast<std::size_t>(needed));
            return key;
        }
        key.resize(static_cast<std::size_t>(needed));
    }
}

// Each row's text as its rank among the column's distinct texts in collation order.
std::vector<std::int64_t> textRanks(const ResultColumn& column) {
    const auto collator = pinyinCollator();
    std::unordered_map<std::uint32_t, std::uint32_t> distinctOf; // text entry -> distinct index
    std::vector<std::uint32_t> entries;
    std::vector<std::uint32_t> distinctOfRow(column.size());
    for (std::size_t row = 0; row < column.size(); ++row) {
        const auto [it, added] = distinctOf.try_emplace(column.textEntry(row),
                                                        static_cast<std::uint32_t>(entries.size()));
        if (added)
            entries.push_back(column.textEntry(row));
        distinctOfRow[row] = it->second;
    }
    std::vector<std::string> keys(entries.size());
    std::u16string scratch;
    for (std::size_t d = 0; d < entries.size(); ++d)
        keys[d] = sortKey(collator.get(), column.entryText(entries[d]), scratch);
    std::vector<std::uint32_t> byKey(entries.size());
    std::iota(byKey.begin(), byKey.end(), 0U);
    std::sort(byKey.begin(), byKey.end(),
              [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    std::vector<std::int64_t> rankOfDistinct(entries.size());
    for (std::size_t rank = 0; rank < byKey.size(); ++rank)
        // Texts that collate equal share a rank.
        rankOfDistinct[byKey[rank]] = rank > 0 && keys[byKey[rank]] == keys[byKey[rank - 1]]
                                          ? rankOfDistinct[byKey[rank - 1]]
                                          : static_cast<std::int64_t>(rank);
    std::vector<std::int64_t> ranks(column.size());
    for (std::size_t row = 0; row < column.size(); ++row)
        ranks[row] = rankOfDistinct[distinctOfRow[row]];
    return ranks;
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
        return orderByKeys(column, textRanks(column), descending);
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
