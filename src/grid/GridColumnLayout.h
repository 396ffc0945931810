#pragma once

#include <functional>

class QHeaderView;

// Where a grid's columns stand, read from its title row at each call so that it follows
// scrolling, moves and resizes. Positions count from the left edge of the first column. The
// first `frozen` columns in display order stay at that edge; the others scroll with the title
// row and pass under the frozen ones.
class GridColumnLayout {
public:
    struct Span {
        int left;
        int width;
    };
    // A shown column reaching into the visible width: where it stands, and the left edge it
    // may draw from (scrolled columns stay right of the frozen ones).
    using Visit = std::function<void(int logicalIndex, Span span, int clipLeft)>;

    explicit GridColumnLayout(const QHeaderView& titles, int frozen = 0)
        : titles_(titles), frozen_(frozen) {}

    int frozenColumns() const { return frozen_; }
    bool isFrozen(int logicalIndex) const;
    // The total width of the frozen columns.
    int frozenWidth() const;
    Span span(int logicalIndex) const;
    // The column drawn at `x`, frozen ones first; -1 where there is none.
    int logicalAt(int x) const;
    // Scrolled columns first, then the frozen ones over them, each visible in [0, width).
    void forEachShown(int width, const Visit& visit) const;

private:
    const QHeaderView& titles_;
    int frozen_;
};
