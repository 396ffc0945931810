#include "DistinctValues.h"

#include "RowFilter.h"
#include "db/WorkControl.h"
#include "result/CollationKeys.h"
#include "result/ResultColumn.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace {

constexpr std::size_t kRowsBetweenChecks = 1 << 16;

struct StoredValue {
    std::size_t count = 0;
    std::size_t firstRow = 0;
};

// The texts' order under the collation, as a sort by the column orders them.
std::vector<std::uint32_t> collationOrder(const std::vector<DistinctValue>& values) {
    std::vector<std::string> utf8;
    utf8.reserve(values.size());
    for (const DistinctValue& value : values)
        utf8.push_back(value.text.toStdString());
    return CollationKeys(std::vector<std::string_view>(utf8.begin(), utf8.end())).sortedIndices();
}

} // namespace

std::vector<DistinctValue> distinctValues(const ResultColumn& column,
                                          const std::vector<std::uint8_t>& shown,
                                          const CellText& cellText, WorkControl& control) {
    // Counted per stored value first (a text stored twice counts twice here), then merged by
    // the text shown.
    std::unordered_map<std::uint64_t, StoredValue> stored;
    std::size_t nulls = 0;
    for (std::size_t row = 0; row < column.size(); ++row) {
        if (row % kRowsBetweenChecks == 0)
            control.throwIfCancelled();
        if (!shown.empty() && !shown[row])
            continue;
        if (column.isNull(row)) {
            ++nulls;
            continue;
        }
        StoredValue& value =
            stored.try_emplace(column.bits(row), StoredValue{0, row}).first->second;
        ++value.count;
    }
    std::vector<DistinctValue> values;
    std::vector<double> sortValues; // numbers and dates
    std::unordered_map<QString, std::size_t> byText;
    for (const auto& [bits, value] : stored) {
        const QString text = cellText(column, value.firstRow);
        const auto [at, added] = byText.try_emplace(text, values.size());
        if (added) {
            values.push_back({text, 0});
            sortValues.push_back(comparableValue(column, value.firstRow));
        }
        values[at->second].count += value.count;
    }
    std::vector<std::uint32_t> order(values.size());
    if (column.kind() == FieldKind::Text) {
        order = collationOrder(values);
    } else {
        for (std::uint32_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return sortValues[a] < sortValues[b]; });
    }
    std::vector<DistinctValue> sorted;
    sorted.reserve(values.size() + 1);
    // An empty text and the nulls are one entry, first.
    std::size_t empty = nulls;
    if (const auto at = byText.find(QString()); at != byText.end())
        empty += values[at->second].count;
    if (empty > 0)
        sorted.push_back({QString(), empty});
    for (const std::uint32_t index : order)
        if (!values[index].text.isEmpty())
            sorted.push_back(std::move(values[index]));
    return sorted;
}
