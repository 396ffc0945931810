#pragma once

#include "result/FieldKind.h"

#include <cstdint>
#include <string>
#include <vector>

class ResultQuery;

// The running totals of a grid's sum footers, one per summed field, each a count of
// ten-thousandths. They are worked out in one pass when the query opens and set back to
// zero when it closes; moving and sorting leave them alone.
class FooterSums {
public:
    explicit FooterSums(std::vector<std::string> fields);

    // Visits every row once, in the query's row order, and leaves the cursor on the first row.
    void recompute(ResultQuery& query);
    void clear();

    const std::vector<std::string>& fields() const { return fields_; }
    std::int64_t total(std::size_t index) const { return totals_[index]; }

    // One addition: the value times 10000 added to the total, the sum rounded to the nearest
    // whole ten-thousandth, ties to even; a total leaving the int64 range stays at its bound.
    static std::int64_t added(std::int64_t total, double value);
    // The same for a field's value as ResultColumn::bits gives it; fixed-point values add
    // exactly.
    static std::int64_t added(std::int64_t total, FieldKind kind, std::uint64_t bits);

private:
    std::vector<std::string> fields_;
    std::vector<std::int64_t> totals_;
};
