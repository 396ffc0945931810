#pragma once

#include "ResultColumn.h"

#include <optional>
#include <string_view>
#include <vector>

// A whole fetched result, column by column, in the order the database returned the rows.
class ResultSet {
public:
    ResultSet() = default;
    explicit ResultSet(std::vector<ResultColumn> columns) : columns_(std::move(columns)) {}

    std::size_t rowCount() const { return columns_.empty() ? 0 : columns_.front().size(); }
    std::size_t columnCount() const { return columns_.size(); }
    const ResultColumn& column(std::size_t index) const { return columns_[index]; }
    ResultColumn& column(std::size_t index) { return columns_[index]; }

    // Field names compare without regard to ASCII case, as the database's do.
    std::optional<std::size_t> findColumn(std::string_view name) const;

    std::size_t memoryBytes() const;

private:
    std::vector<ResultColumn> columns_;
};

bool sameFieldName(std::string_view a, std::string_view b);
