#include "FooterSums.h"

#include "db/ResultQuery.h"

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

std::int64_t FooterSums::added(std::int64_t total, FieldKind kind, std::uint64_t bits) {
    if (kind != FieldKind::Decimal)
        return added(total, ResultColumn::floatOf(kind, bits));
    // A value with four decimals adds exactly: no rounding is ever needed.
    const auto tenThousandths = static_cast<std::int64_t>(bits);
    if (__builtin_add_overflow(total, tenThousandths, &total))
        return tenThousandths > 0 ? std::numeric_limits<std::int64_t>::max()
                                  : std::numeric_limits<std::int64_t>::min();
    return total;
}

void FooterSums::clear() {
    totals_.assign(fields_.size(), 0);
}

void FooterSums::recompute(ResultQuery& query) {
    clear();
    if (!query.isOpen())
        return;
    const std::size_t rows = query.rowCount();
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const auto column = query.result().findColumn(fields_[i]);
        if (!column)
            continue;
        const ResultColumn& values = query.result().column(*column);
        std::int64_t total = 0;
        for (std::size_t position = 0; position < rows; ++position) {
            const std::size_t row = query.rowAt(position);
            if (!values.isNull(row))
                total = added(total, values.kind(), values.bits(row));
        }
        totals_[i] = total;
    }
    query.first();
}
