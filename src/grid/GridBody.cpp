#include "GridBody.h"

#include "GridHeader.h"
#include "db/ResultQuery.h"
#include "table/FittedText.h"
#include "table/GridCopy.h"
#include "table/GridTitles.h"
#include "table/ResultTableModel.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace {
const QColor kNavy(0, 0, 128);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kPicked(198, 221, 245);
const QColor kFound(255, 230, 100);

// Where a cell's text is drawn inside the cell.
QRect textRectOf(const QRect& cell) {
    return cell.adjusted(2, 0, -3, -1);
}
} // namespace

GridBody::GridBody(ResultTableModel& model, const GridSettings& settings, QWidget* parent)
    : QAbstractScrollArea(parent), query_(model.query()), model_(model), titles_(model.titles()),
      settings_(settings), header_(new GridHeader(model.titles(), true, settings, this)),
      corner_(new QWidget(this)), layout_(*header_, settings.FrozenCols) {
    setFocusPolicy(Qt::StrongFocus);
    header_->setModel(&model_);
    corner_->setAutoFillBackground(true);
    QPalette fixed = corner_->palette();
    fixed.setColor(QPalette::Window, settings.FixedColor);
    corner_->setPalette(fixed);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(20);
    const auto columnsChanged = [this] {
        updateGeometries();
        viewport()->update();
    };
    connect(header_, &QHeaderView::sectionResized, this, columnsChanged);
    connect(header_, &QHeaderView::sectionMoved, this, columnsChanged);
    if (settings.FrozenCols > 0) {
        frozenHeader_ = new GridHeader(model.titles(), false, settings, this);
        frozenHeader_->setModel(&model_);
        connect(frozenHeader_, &QHeaderView::sectionResized, this,
                [this](int logical, int, int size) { header_->resizeSection(logical, size); });
    }
    currentColumn_ = header_->logicalIndex(0);
}

int GridBody::rowCount() const {
    return query_.isOpen() ? static_cast<int>(query_.rowCount()) : 0;
}

int GridBody::topRow() const {
    return verticalScrollBar()->value();
}

int GridBody::currentRow() const {
    return rowCount() > 0 && !query_.eof() ? static_cast<int>(query_.position()) : -1;
}

int GridBody::fullRows() const {
    return std::max(1, viewport()->height() / kRowHeight);
}

int GridBody::columnsWidth() const {
    return viewport()->width() - kIndicatorWidth;
}

int GridBody::rowAt(int y) const {
    const int row = topRow() + y / kRowHeight;
    return y >= 0 && row < rowCount() ? row : -1;
}

QRect GridBody::cellRect(int row, int column) const {
    const GridColumnLayout::Span span = layout_.span(column);
    return QRect(kIndicatorWidth + span.left, (row - topRow()) * kRowHeight, span.width,
                 kRowHeight);
}

void GridBody::setCurrentCell(int row, int column) {
    const int before = currentRow();
    if (column >= 0 && column < header_->count())
        currentColumn_ = column;
    moveToRow(row);
    if (currentRow() != before)
        pickTo(currentRow(), {});
}

void GridBody::rowsChanged() {
    closeEditor();
    pickTo(0, {});
    verticalScrollBar()->setValue(0);
    updateGeometries();
    viewport()->update();
}

void GridBody::rowsReordered() {
    closeEditor();
    pickTo(std::max(currentRow(), 0), {}); // picked places would now hold other rows
    scrollToCurrent();
    viewport()->update();
}

void GridBody::rowsAdded() {
    updateGeometries();
    viewport()->update();
}

void GridBody::updateGeometries() {
    const int titleHeight = header_->sizeHint().height();
    setViewportMargins(0, titleHeight, 0, 0);
    const QRect rows = viewport()->geometry();
    const int titleTop = rows.top() - titleHeight;
    corner_->setGeometry(rows.left(), titleTop, kIndicatorWidth, titleHeight);
    header_->setGeometry(rows.left() + kIndicatorWidth, titleTop, columnsWidth(), titleHeight);
    if (frozenHeader_) {
        syncFrozenHeader();
        frozenHeader_->setGeometry(rows.left() + kIndicatorWidth, titleTop, layout_.frozenWidth(),
                                   titleHeight);
        frozenHeader_->raise();
    }
    verticalScrollBar()->setRange(0, std::max(0, rowCount() - fullRows()));
    verticalScrollBar()->setPageStep(fullRows());
    horizontalScrollBar()->setRange(0, std::max(0, header_->length() - columnsWidth()));
    horizontalScrollBar()->setPageStep(columnsWidth());
    header_->setOffset(horizontalScrollBar()->value());
}

void GridBody::syncFrozenHeader() {
    const QSignalBlocker blockHeader(frozenHeader_);
    for (int visual = 0; visual < header_->count(); ++visual) {
        const int logical = header_->logicalIndex(visual);
        frozenHeader_->moveSection(frozenHeader_->visualIndex(logical), visual);
        const bool shown = layout_.isFrozen(logical) && !header_->isSectionHidden(logical);
        frozenHeader_->setSectionHidden(logical, !shown);
        if (shown)
            frozenHeader_->resizeSection(logical, header_->sectionSize(logical));
    }
}

void GridBody::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateGeometries();
}

void GridBody::scrollContentsBy(int, int) {
    closeEditor();
    header_->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

void GridBody::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, settings_.Color);
    const int top = topRow();
    const int firstRow = top + area.top() / kRowHeight;
    const int endRow = std::min(rowCount(), top + area.bottom() / kRowHeight + 1);
    if (firstRow >= endRow)
        return;
    paintIndicator(painter, firstRow, endRow);
    const int current = currentRow();
    const QColor lines = palette().color(QPalette::Mid);
    const QFontMetrics metrics = fontMetrics();
    layout_.forEachShown(columnsWidth(), [&](int column, GridColumnLayout::Span span,
                                             int clipLeft) {
        painter.setClipRect(
            QRect(kIndicatorWidth + clipLeft, 0, columnsWidth(), viewport()->height()));
        const Qt::Alignment alignment = model_.alignment(column) | Qt::AlignVCenter;
        for (int row = firstRow; row < endRow; ++row) {
            const QRect cell(kIndicatorWidth + span.left, (row - top) * kRowHeight, span.width,
                             kRowHeight);
            const QString text = model_.data(model_.index(row, column), Qt::DisplayRole).toString();
            if (row == current)
                painter.fillRect(cell, kNavy);
            else if (selection_.contains(row))
                painter.fillRect(cell, kPicked);
            // A found cell is yellow; on the current row a yellow frame keeps its text white.
            if (!found_.isEmpty() && text.contains(found_, Qt::CaseInsensitive)) {
                if (row == current) {
                    painter.setPen(QPen(kFound, 2));
                    painter.drawRect(cell.adjusted(1, 1, -2, -2));
                } else {
                    painter.fillRect(cell, kFound);
                }
            }
            painter.setPen(lines);
            if (settings_.Options.colLines)
                painter.drawLine(cell.topRight(), cell.bottomRight());
            if (settings_.Options.rowLines)
                painter.drawLine(cell.bottomLeft(), cell.bottomRight());
            painter.setPen(row == current ? kWhite : kBlack);
            const QRect textRect = textRectOf(cell);
            painter.drawText(textRect, alignment,
                             fittedText(metrics, text, alignment, textRect.width()));
        }
    });
}

void GridBody::paintIndicator(QPainter& painter, int firstRow, int endRow) const {
    const int current = currentRow();
    for (int row = firstRow; row < endRow; ++row) {
        const QRect box(0, (row - topRow()) * kRowHeight, kIndicatorWidth, kRowHeight);
        painter.fillRect(box, settings_.FixedColor);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        if (row != current)
            continue;
        const QPoint centre = box.center();
        const QPolygon marker{centre + QPoint(-2, -4), centre + QPoint(2, 0),
                              centre + QPoint(-2, 4)};
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::WindowText));
        painter.drawPolygon(marker);
        painter.setBrush(Qt::NoBrush);
    }
}

void GridBody::moveToRow(int row) {
    closeEditor();
    if (rowCount() == 0)
        return;
    row = std::clamp(row, 0, rowCount() - 1);
    query_.moveBy(static_cast<std::int64_t>(row) - currentRow());
    scrollToCurrent();
    viewport()->update();
}

void GridBody::stepColumn(int step, bool wrap) {
    int row = currentRow();
    int visual = header_->visualIndex(currentColumn_);
    do {
        visual += step;
        if (wrap && (visual < 0 || visual >= header_->count())) {
            if (row + step < 0 || row + step >= rowCount())
                return;
            row += step;
            visual = step > 0 ? 0 : header_->count() - 1;
        }
        if (visual < 0 || visual >= header_->count())
            return;
    } while (header_->isSectionHidden(header_->logicalIndex(visual)));
    setCurrentCell(row, header_->logicalIndex(visual));
}

void GridBody::scrollToCurrent() {
    const int row = currentRow();
    if (row < topRow())
        verticalScrollBar()->setValue(row);
    else if (row >= topRow() + fullRows())
        verticalScrollBar()->setValue(row - fullRows() + 1);
    if (layout_.isFrozen(currentColumn_))
        return;
    // A scrolled column comes out from under the frozen ones and in from the right edge.
    const GridColumnLayout::Span span = layout_.span(currentColumn_);
    const int frozenRight = layout_.frozenWidth();
    int shift = 0;
    if (span.left < frozenRight)
        shift = span.left - frozenRight;
    else if (span.left + span.width > columnsWidth())
        shift = std::min(span.left + span.width - columnsWidth(), span.left - frozenRight);
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + shift);
}

void GridBody::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy))
        return emit copyRequested(false);
    if (event->matches(QKeySequence::Find))
        return emit findRequested();
    if (event->matches(QKeySequence::FindNext) || event->matches(QKeySequence::FindPrevious))
        return emit findNextRequested(event->matches(QKeySequence::FindNext));
    if (event->matches(QKeySequence::SelectAll)) {
        if (rowCount() > 0)
            selection_.pickRun(0, rowCount() - 1);
        viewport()->update();
        return;
    }
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const int row = currentRow();
    // Up and down, Shift picking the rows passed over.
    const auto moveRows = [&](int target) {
        moveToRow(target);
        pickTo(currentRow(), event->modifiers() & Qt::ShiftModifier);
    };
    switch (event->key()) {
    case Qt::Key_Up:
        return moveRows(row - 1);
    case Qt::Key_Down:
        return moveRows(row + 1);
    case Qt::Key_PageUp:
        return moveRows(row - fullRows());
    case Qt::Key_PageDown:
        return moveRows(row + fullRows());
    case Qt::Key_Home:
        return ctrl ? moveRows(0) : setCurrentCell(row, header_->logicalIndex(0));
    case Qt::Key_End:
        return ctrl ? moveRows(rowCount() - 1)
                    : setCurrentCell(row, header_->logicalIndex(header_->count() - 1));
    case Qt::Key_Left:
        return stepColumn(-1, false);
    case Qt::Key_Right:
        return stepColumn(1, false);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (settings_.Options.tabs)
            return stepColumn(event->key() == Qt::Key_Tab ? 1 : -1, true);
        break;
    case Qt::Key_F2:
        return openEditor();
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (editor_)
            return closeEditor();
        break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void GridBody::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const int row = rowAt(point.y());
    if (row < 0)
        return;
    // A right click keeps the picked rows it lands on, for the context menu.
    const bool keepPicked = event->button() == Qt::RightButton && selection_.contains(row);
    if (const int column = layout_.logicalAt(point.x() - kIndicatorWidth); column >= 0)
        currentColumn_ = column;
    moveToRow(row);
    if (!keepPicked)
        pickTo(row,
               event->button() == Qt::LeftButton ? event->modifiers() : Qt::KeyboardModifiers());
}

void GridBody::pickTo(int row, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        selection_.pickRun(anchor_, row);
    } else if (modifiers.testFlag(Qt::ControlModifier)) {
        selection_.toggle(row);
        anchor_ = row;
    } else {
        selection_.clear();
        anchor_ = row;
    }
    viewport()->update();
}

void GridBody::markFound(const QString& needle) {
    found_ = needle;
    viewport()->update();
}

void GridBody::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction("查找", QKeySequence::Find, this, &GridBody::findRequested);
    menu.addAction("复制", QKeySequence::Copy, this, [this] { emit copyRequested(false); });
    menu.addAction("复制(含标题)", this, [this] { emit copyRequested(true); });
    if (cellMenu_) {
        menu.addSeparator();
        cellMenu_(menu, rowAt(event->pos().y()),
                  layout_.logicalAt(event->pos().x() - kIndicatorWidth));
    }
    if (!menuActions_.isEmpty()) {
        menu.addSeparator();
        menu.addActions(menuActions_);
    }
    menu.exec(event->globalPos());
}

CopiedRows GridBody::rowsToCopy(bool withTitles) const {
    CopiedRows copied;
    for (int visual = 0; visual < header_->count(); ++visual) {
        const int logical = header_->logicalIndex(visual);
        if (header_->isSectionHidden(logical))
            continue;
        copied.columns.push_back(model_.resultColumn(logical));
        if (withTitles)
            copied.titles.push_back(
                QString::fromStdString(titles_[static_cast<std::size_t>(logical)].caption));
    }
    copied.rows = selection_.rows();
    if (copied.rows.empty() && currentRow() >= 0)
        copied.rows.push_back(currentRow());
    return copied;
}

void GridBody::mouseDoubleClickEvent(QMouseEvent*) {
    emit doubleClicked(); // also below the last row and over an empty result
}

bool GridBody::focusNextPrevChild(bool next) {
    return settings_.Options.tabs ? false : QAbstractScrollArea::focusNextPrevChild(next);
}

void GridBody::openEditor() {
    const int row = currentRow();
    if (row < 0)
        return;
    closeEditor();
    auto* editor = new QLineEdit(viewport());
    editor->setReadOnly(true);
    editor->setFrame(false);
    editor->setText(model_.data(model_.index(row, currentColumn_), Qt::DisplayRole).toString());
    editor->setGeometry(cellRect(row, currentColumn_));
    editor->installEventFilter(this);
    editor->show();
    editor->setFocus();
    editor->selectAll();
    editor_ = editor;
}

void GridBody::closeEditor() {
    if (!editor_)
        return;
    const bool hadFocus = editor_->hasFocus();
    editor_->removeEventFilter(this);
    editor_->hide();
    editor_->deleteLater();
    editor_ = nullptr;
    if (hadFocus)
        setFocus();
}

bool GridBody::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int row = rowAt(help->pos().y());
    const int column = layout_.logicalAt(help->pos().x() - kIndicatorWidth);
    QString whole;
    if (row >= 0 && column >= 0) {
        const QRect cell = cellRect(row, column);
        const QString text = model_.data(model_.index(row, column), Qt::DisplayRole).toString();
        if (fontMetrics().horizontalAdvance(text) > textRectOf(cell).width())
            whole = text;
        if (!whole.isEmpty())
            QToolTip::showText(help->globalPos(), whole, viewport(), cell);
    }
    if (whole.isEmpty())
        QToolTip::hideText();
    return true;
}

bool GridBody::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::FocusOut)
        closeEditor();
    return QAbstractScrollArea::eventFilter(watched, event);
}
