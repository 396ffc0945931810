#pragma once

#include <QHeaderView>

// The row indicator column at the left of a grid: a small marker on the current row.
class IndicatorHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit IndicatorHeader(QWidget* parent = nullptr);

    void setCurrentRow(int row);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    int currentRow_ = -1;
};
