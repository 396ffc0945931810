#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;

// Draws the whole current row navy with white text and every other row black on white,
// whichever cell has the focus and whether or not the grid has it.
class CurrentRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CurrentRowDelegate(QAbstractItemView& view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    QAbstractItemView& view_;
};
