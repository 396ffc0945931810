#pragma once

#include "ResultColumn.h"

#include <atomic>
#include <optional>
#include <string_view>
#include <vector>

// A fetched result, column by column, in the order the database returned the rows. While one
// thread appends rows, other threads may read the rows published so far: rowCount() counts
// them, and nothing they read moves or changes.
class ResultSet {
public:
    ResultSet() = default;
    explicit ResultSet(std::vector<ResultColumn> columns)
        : columns_(std::move(columns)), rows_(columns_.empty() ? 0 : columns_.front().size()) {}
    // Only while no other thread reads either.
    ResultSet(ResultSet&& other) noexcept
        : columns_(std::move(other.columns_)), rows_(other.rows_.load()) {}
    ResultSet& operator=(ResultSet&& other) noexcept {
        columns_ = std::move(other.columns_);
        rows_ = other.rows_.load();
        return *this;
    }

    std::size_t rowCount() const { return rows_.load(std::memory_order_acquire); }
    // The appending thread: every row appended to the columns so far is published.
    void publishRows() {
        if (!columns_.empty())
            rows_.store(columns_.front().size(), std::memory_order_release);
    }
    std::size_t columnCount() const { return columns_.size(); }
    const ResultColumn& column(std::size_t index) const { return columns_[index]; }
    ResultColumn& column(std::size_t index) { return columns_[index]; }

    // Field names compare without regard to ASCII case, as the database's do.
    std::optional<std::size_t> findColumn(std::string_view name) const;

    std::size_t memoryBytes() const;

private:
    std::vector<ResultColumn> columns_;
    std::atomic<std::size_t> rows_{0};
};

bool sameFieldName(std::string_view a, std::string_view b);
