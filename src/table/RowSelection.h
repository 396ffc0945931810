#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// The rows a user picked in a grid, by place in the row order: runs of rows picked with Shift
// from an anchor, and single rows added or removed with Ctrl.
class RowSelection {
public:
    void clear() { runs_.clear(); }
    // Replaces the picked rows by those from `from` to `to`, both included, in either order.
    void pickRun(int from, int to);
    // Adds a row that was not picked, removes one that was.
    void toggle(int row);
    bool contains(int row) const;
    bool isEmpty() const { return runs_.empty(); }
    std::size_t count() const;
    // Every picked row, ascending.
    std::vector<int> rows() const;

private:
    std::vector<std::pair<int, int>> runs_; // disjoint, ascending, first and last included
};
