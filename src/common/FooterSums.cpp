#include "FooterSums.h"

#include "connection/ResultQuery.h"

#include <cmath>
#include <limits>

FooterSums::FooterSums(std::vector<std::string> fields)
    : fields_(std::move(fields)), totals_(fields_.size(), 0) {}

std::int64_t FooterSums::added(std::int64_t total, double value) {
    const double sum = std::nearbyint(static_cast<double>(total) + value * 10000.0);
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    if (sum >= kLimit)
        return std::numeric_limits<std::int64_t>::max();
    if (sum < -kLimit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(sum);
}

void FooterSums::clear() {
    totals_.assign(fields_.size(), 0);
}

void FooterSums::recompute(ResultQuery& query) {
    clear();
    if (!query.isOpen())
        return;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const auto column = query.result().findColumn(fields_[i]);
        if (!column)
            continue;
        const ResultColumn& values = query.result().column(*column);
        std::int64_t total = 0;
        for (query.first(); !query.eof(); query.next())
            if (!values.isNull(query.currentRow()))
                total = added(total, values.asFloat(query.currentRow()));
        totals_[i] = total;
    }
    query.first();
}
