#pragma once

#include <QHeaderView>

class GridTitles;

// The title row of a result grid: two lines of the title font high, each caption wrapped and
// centred in its section (bold where the title state says so), the pressed look of title
// buttons, and the grid's sort-marker glyphs, numbered when several columns carry one.
class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    GridHeader(GridTitles& titles, QWidget* parent = nullptr);

    QSize sizeHint() const override;

signals:
    // A left-button click released over a title, title button or not.
    void titleClicked(int logicalIndex);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    GridTitles& titles_;
    int pressed_ = -1; // the title button held down, while the pointer stays over it
    int pressedAt_ = -1;
    bool resizing_ = false;
};
