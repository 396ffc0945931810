#pragma once

#include <QWidget>

#include <functional>

class QHeaderView;

// The footer row under a grid's rows. It stores no geometry: each paint takes every visible
// column's place and width from the title row, so it follows scrolling, moves and resizes.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    struct Cell {
        QString text;
        QFont font;
        QColor background;
        Qt::Alignment alignment;
    };
    using CellOf = std::function<Cell(int logicalIndex)>;

    GridFooter(QHeaderView& titles, CellOf cellOf, int leftOffset, QWidget* parent = nullptr);

    // The first columns in display order stay in place like the grid's frozen columns.
    void setFrozenColumns(int count) { frozenColumns_ = count; }
    // Where a column's footer cell is drawn now.
    QRect cellRect(int logicalIndex) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHeaderView& titles_;
    CellOf cellOf_;
    int leftOffset_; // the width of the row indicator column
    int frozenColumns_ = 0;
};
