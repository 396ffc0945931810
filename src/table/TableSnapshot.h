#pragma once

#include "db/ResultQuery.h"
#include "result/ResultSet.h"

#include <cstdint>
#include <memory>
#include <vector>

// A result as its grid shows it at one moment, for work on another thread (an export): the
// rows it shares with the query, which are never changed once read, and a copy of the row
// order (4 bytes a row). The window may sort or query again while the work runs.
class TableSnapshot {
public:
    // Taken wherever a query is given in its place.
    TableSnapshot(const ResultQuery& query)
        : rows_(query.sharedResult()), order_(query.rowOrder()), open_(query.isOpen()) {}

    // The same table with only the rows at `positions` of its order, in that order (the rows a
    // user picked).
    TableSnapshot only(const std::vector<int>& positions) const {
        std::vector<std::uint32_t> order;
        order.reserve(positions.size());
        for (const int position : positions)
            order.push_back(order_[static_cast<std::size_t>(position)]);
        return TableSnapshot(rows_, std::move(order), open_);
    }

    bool isOpen() const { return open_; }
    std::size_t rowCount() const { return order_.size(); }
    // The row id at a position of the row order.
    std::size_t rowAt(std::size_t position) const { return order_[position]; }
    const ResultSet& result() const { return *rows_; }

private:
    TableSnapshot(std::shared_ptr<const ResultSet> rows, std::vector<std::uint32_t> order,
                  bool open)
        : rows_(std::move(rows)), order_(std::move(order)), open_(open) {}

    std::shared_ptr<const ResultSet> rows_;
    std::vector<std::uint32_t> order_;
    bool open_;
};
