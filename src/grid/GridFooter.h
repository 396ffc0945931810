#pragma once

#include "GridColumnLayout.h"
#include "table/ResultTableModel.h"

#include <QWidget>

#include <functional>

class QHeaderView;

// The footer row under a grid's rows. It stores no geometry: each paint takes every visible
// column's place and width from the title row, so it follows scrolling, moves and resizes,
// and the footers of frozen columns stay in place like their columns.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    using Cell = FooterCell;
    using CellOf = std::function<Cell(int logicalIndex)>;

    // `leftOffset` is where the first column starts, right of the row indicator.
    GridFooter(QHeaderView& titles, int frozenColumns, CellOf cellOf, int leftOffset,
               QWidget* parent = nullptr);

    // Where a column's footer cell is drawn now.
    QRect cellRect(int logicalIndex) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Hovering a cell shows its whole text.
    bool event(QEvent* event) override;

private:
    GridColumnLayout layout_;
    CellOf cellOf_;
    int leftOffset_;
};
