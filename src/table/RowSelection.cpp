#include "RowSelection.h"

#include <algorithm>

void RowSelection::pickRun(int from, int to) {
    runs_ = {{std::min(from, to), std::max(from, to)}};
}

bool RowSelection::contains(int row) const {
    const auto run = std::upper_bound(runs_.begin(), runs_.end(), row,
                                      [](int r, const auto& run) { return r < run.first; });
    return run != runs_.begin() && std::prev(run)->second >= row;
}

void RowSelection::toggle(int row) {
    auto after = std::upper_bound(runs_.begin(), runs_.end(), row,
                                  [](int r, const auto& run) { return r < run.first; });
    if (after != runs_.begin() && std::prev(after)->second >= row) {
        // Picked: the run that holds it splits around it.
        const auto run = std::prev(after);
        const auto [first, last] = *run;
        const auto at = runs_.erase(run);
        std::vector<std::pair<int, int>> parts;
        if (first < row)
            parts.emplace_back(first, row - 1);
        if (row < last)
            parts.emplace_back(row + 1, last);
        runs_.insert(at, parts.begin(), parts.end());
        return;
    }
    // Not picked: a run of its own, joined to a neighbour that touches it.
    auto run = runs_.insert(after, {row, row});
    if (const auto next = std::next(run); next != runs_.end() && next->first == row + 1) {
        run->second = next->second;
        run = std::prev(runs_.erase(next));
    }
    if (run != runs_.begin() && std::prev(run)->second == row - 1) {
        std::prev(run)->second = run->second;
        runs_.erase(run);
    }
}

std::size_t RowSelection::count() const {
    std::size_t rows = 0;
    for (const auto& [first, last] : runs_)
        rows += static_cast<std::size_t>(last - first + 1);
    return rows;
}

std::vector<int> RowSelection::rows() const {
    std::vector<int> all;
    all.reserve(count());
    for (const auto& [first, last] : runs_)
        for (int row = first; row <= last; ++row)
            all.push_back(row);
    return all;
}
