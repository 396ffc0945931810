#include "GridHeader.h"

#include "table/GridSettings.h"
#include "table/GridTitles.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTextOption>

namespace {
constexpr int kMarkerWidth = 16;
}

GridHeader::GridHeader(GridTitles& titles, bool movable, const GridSettings& settings,
                       QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), titles_(titles), movable_(movable), settings_(settings) {
    setSectionsMovable(movable);
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
    connect(this, &QHeaderView::sectionMoved, this, [this] { movedByDrag_ = true; });
}

QSize GridHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(settings_.TitleLines * fontMetrics().height() + 6);
    return size;
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const auto& title = titles_[static_cast<std::size_t>(logicalIndex)];
    painter->save();
    const bool pressed = logicalIndex == pressed_;
    painter->fillRect(rect, settings_.FixedColor);
    painter->setPen(palette().color(pressed ? QPalette::Dark : QPalette::Mid));
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    QRect textRect = rect.adjusted(2, 1, -2, -1);
    if (title.marker != GridTitles::Marker::None) {
        // The marker's 16 pixels at the right end: a small triangle, and the sort index
        // when two or more columns are marked.
        const QRect markerRect(textRect.right() - kMarkerWidth + 1, rect.top(), kMarkerWidth,
                               rect.height());
        textRect.setRight(markerRect.left() - 1);
        QPolygon glyph;
        const int cx = markerRect.left() + 5;
        const int cy = markerRect.center().y();
        if (title.marker == GridTitles::Marker::Down)
            glyph << QPoint(cx - 3, cy - 2) << QPoint(cx + 3, cy - 2) << QPoint(cx, cy + 2);
        else
            glyph << QPoint(cx - 3, cy + 2) << QPoint(cx + 3, cy + 2) << QPoint(cx, cy - 2);
        painter->setBrush(palette().color(QPalette::WindowText));
        painter->setPen(Qt::NoPen);
        painter->drawPolygon(glyph);
        if (titles_.markedCount() >= 2) {
            QFont small = font();
            small.setPixelSize(9);
            painter->setFont(small);
            painter->setPen(palette().color(QPalette::WindowText));
            painter->drawText(markerRect.adjusted(9, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                              QString::number(title.sortIndex));
        }
    }
    if (pressed)
        textRect.translate(2, 2);
    QFont captionFont = font();
    captionFont.setBold(title.bold);
    painter->setFont(captionFont);
    painter->setPen(palette().color(QPalette::WindowText));
    QTextOption option(Qt::AlignCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter->drawText(textRect, QString::fromStdString(title.caption), option);
    painter->restore();
}

QMouseEvent GridHeader::asLeftButton(const QMouseEvent& event) const {
    const Qt::MouseButtons buttons =
        event.buttons().testFlag(Qt::RightButton) ? Qt::LeftButton : Qt::NoButton;
    return QMouseEvent(event.type(), event.position(), event.scenePosition(),
                       event.globalPosition(), Qt::LeftButton, buttons, event.modifiers());
}

void GridHeader::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const int index = logicalIndexAt(point);
    // Near a section border the press starts a width change, which is no click.
    const int section = logicalIndex(visualIndexAt(point.x()));
    resizing_ =
        section >= 0 && (point.x() - sectionViewportPosition(section) < 4 ||
                         sectionViewportPosition(section) + sectionSize(section) - point.x() < 4);
    pressedAt_ = index;
    pressPoint_ = point;
    const bool onButton = index >= 0 && titles_[static_cast<std::size_t>(index)].titleButton;
    if (event->button() == Qt::RightButton) {
        rightDrag_ = true;
        setSectionsMovable(movable_);
        QMouseEvent left = asLeftButton(*event);
        QHeaderView::mousePressEvent(&left);
        return;
    }
    setSectionsMovable(movable_ && !onButton);
    if (event->button() == Qt::LeftButton && !resizing_ && onButton) {
        pressed_ = index;
        viewport()->update();
    }
    QHeaderView::mousePressEvent(event);
}

void GridHeader::mouseMoveEvent(QMouseEvent* event) {
    if (rightDrag_) {
        QMouseEvent left = asLeftButton(*event);
        QHeaderView::mouseMoveEvent(&left);
        return;
    }
    if (pressedAt_ >= 0 && !resizing_) {
        const int over = logicalIndexAt(event->position().toPoint());
        const int shown =
            over == pressedAt_ && titles_[static_cast<std::size_t>(over)].titleButton ? over : -1;
        if (shown != pressed_) {
            pressed_ = shown;
            viewport()->update();
        }
    }
    QHeaderView::mouseMoveEvent(event);
}

void GridHeader::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const int over = logicalIndexAt(point);
    const bool wasRightDrag = rightDrag_;
    const bool wasResize = resizing_;
    const int buttonDown = pressed_;
    pressed_ = -1;
    pressedAt_ = -1;
    resizing_ = false;
    rightDrag_ = false;
    movedByDrag_ = false;
    if (wasRightDrag) {
        QMouseEvent left = asLeftButton(*event);
        QHeaderView::mouseReleaseEvent(&left);
    } else {
        QHeaderView::mouseReleaseEvent(event);
    }
    setSectionsMovable(movable_);
    viewport()->update();
    // The release of a right-button drag counts as a click, like a left-button click, unless
    // the drag moved a column: dropping a column in its new place sorts nothing.
    const bool dragged =
        (point - pressPoint_).manhattanLength() >= QApplication::startDragDistance();
    const bool click = event->button() == Qt::LeftButton || (wasRightDrag && dragged);
    if (!click || wasResize || movedByDrag_ || over < 0)
        return;
    if (buttonDown == over)
        titles_.clickTitleButton(static_cast<std::size_t>(over),
                                 event->modifiers().testFlag(Qt::ControlModifier));
    emit titleClicked(over);
}
