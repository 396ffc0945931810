#pragma once

#include "table/ExportLayout.h"

#include <optional>
#include <utility>
#include <vector>

// What the markup around a cell's text depends on.
struct CellLook {
    int width;
    Alignment alignment;
    QRgb background;
    ExportFont font;

    bool operator==(const CellLook&) const = default;
};

// Per column, the markup made for the look the column had last. Every record repeats its
// column's look, so the markup is made once per column instead of once per cell.
template <typename Markup> class MarkupCache {
public:
    template <typename Make>
    const Markup& get(std::size_t column, const CellLook& look, const Make& make) {
        if (column >= entries_.size())
            entries_.resize(column + 1);
        auto& entry = entries_[column];
        if (!entry || entry->first != look)
            entry.emplace(look, make(look));
        return entry->second;
    }
    void clear() { entries_.clear(); }

private:
    std::vector<std::optional<std::pair<CellLook, Markup>>> entries_;
};
