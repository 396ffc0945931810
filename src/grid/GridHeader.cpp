#include "GridHeader.h"

#include "table/GridSettings.h"
#include "table/GridTitles.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTextOption>

#include <utility>

namespace {
constexpr int kMarkerWidth = 16;
// The filter mark: a small funnel in a title's top left corner.
constexpr int kFilterMarkSize = 10;

QRect filterMarkIn(const QRect& section) {
    return QRect(section.left() + 2, section.top() + 2, kFilterMarkSize, kFilterMarkSize);
}
} // namespace

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
    // The filter mark, faint until a filter on the column is in force.
    const QRect mark = filterMarkIn(rect);
    QPolygon funnel;
    funnel << QPoint(mark.left() + 1, mark.top() + 2) << QPoint(mark.right() - 1, mark.top() + 2)
           << QPoint(mark.center().x() + 1, mark.center().y() + 1)
           << QPoint(mark.center().x() + 1, mark.bottom() - 1)
           << QPoint(mark.center().x() - 1, mark.bottom() - 1)
           << QPoint(mark.center().x() - 1, mark.center().y() + 1);
    painter->setPen(Qt::NoPen);
    painter->setBrush(title.filtered ? QColor(0, 0, 160) : palette().color(QPalette::Mid));
    painter->drawPolygon(funnel);
    if (pressed)
        textRect.translate(2, 2);
    QFont captionFont = font();
    captionFont.setBold(titles_.shownBold(static_cast<std::size_t>(logicalIndex)));
    painter->setFont(captionFont);
    painter->setPen(palette().color(QPalette::WindowText));
    QTextOption option(Qt::AlignCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter->drawText(
        textRect,
        QString::fromStdString(titles_.shownCaption(static_cast<std::size_t>(logicalIndex))),
        option);
    painter->restore();
}

QMouseEvent GridHeader::asLeftButton(const QMouseEvent& event) const {
    const Qt::MouseButtons buttons =
        event.buttons().testFlag(Qt::RightButton) ? Qt::LeftButton : Qt::NoButton;
    return QMouseEvent(event.type(), event.position(), event.scenePosition(),
                       event.globalPosition(), Qt::LeftButton, buttons, event.modifiers());
}

int GridHeader::filterMarkAt(const QPoint& point) const {
    const int index = logicalIndexAt(point);
    if (index < 0)
        return -1;
    const QRect section(sectionViewportPosition(index), 0, sectionSize(index), height());
    return filterMarkIn(section).adjusted(-2, -2, 2, 2).contains(point) ? index : -1;
}

void GridHeader::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && (markPressed_ = filterMarkAt(point)) >= 0)
        return; // neither a click nor a drag
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
    if (markPressed_ >= 0) {
        const int marked = std::exchange(markPressed_, -1);
        if (filterMarkAt(point) == marked)
            emit filterMarkClicked(marked);
        return;
    }
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
