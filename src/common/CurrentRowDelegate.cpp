#include "CurrentRowDelegate.h"

#include <QAbstractItemView>
#include <QPainter>

CurrentRowDelegate::CurrentRowDelegate(QAbstractItemView& view)
    : QStyledItemDelegate(&view), view_(view) {}

void CurrentRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const bool current = index.row() == view_.currentIndex().row();
    painter->fillRect(option.rect, current ? QColor(0, 0, 128) : QColor(255, 255, 255));
    painter->setPen(current ? QColor(255, 255, 255) : QColor(0, 0, 0));
    painter->setFont(option.font);
    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    painter->drawText(option.rect.adjusted(2, 0, -2, 0), alignment | Qt::AlignVCenter,
                      index.data(Qt::DisplayRole).toString());
}
