#pragma once

#include <QHeaderView>

class GridTitles;
struct GridSettings;

// The title row of a result grid: two lines of the title font high, each caption wrapped and
// centred in its section (bold where the title state says so), the pressed look of title
// buttons, and the grid's sort-marker glyphs, numbered when several columns carry one.
class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    // Columns move by dragging titles: with the left button on titles that are not title
    // buttons, with the right button on any title; `movable` false keeps them in place.
    GridHeader(GridTitles& titles, bool movable, const GridSettings& settings,
               QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // The title whose filter mark lies under `point` of the viewport; -1 where none does.
    int filterMarkAt(const QPoint& point) const;

signals:
    // A left-button click released over a title, title button or not, or the release of a
    // right-button drag that moved no column.
    void titleClicked(int logicalIndex);
    // A left-button click on a title's filter mark, its top left corner, which neither sorts
    // nor drags.
    void filterMarkClicked(int logicalIndex);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The right button drags like the left one; the base view only moves on the left.
    QMouseEvent asLeftButton(const QMouseEvent& event) const;

    GridTitles& titles_;
    bool movable_;
    const GridSettings& settings_;
    bool rightDrag_ = false;
    QPoint pressPoint_;
    int pressed_ = -1; // the title button held down, while the pointer stays over it
    int pressedAt_ = -1;
    bool resizing_ = false;
    bool movedByDrag_ = false; // by the drag being released
    int markPressed_ = -1;     // the title whose filter mark is held down
};
