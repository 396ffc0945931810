#include "GridView.h"

#include <QHeaderView>
#include <QScrollBar>

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    // Frozen cells are always in view: only their row needs scrolling to.
    if (index.isValid() && horizontalHeader()->visualIndex(index.column()) < frozenColumns_) {
        const int keep = horizontalScrollBar()->value();
        QTableView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(keep);
        return;
    }
    QTableView::scrollTo(index, hint);
    revealRightOfFrozen(index);
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = QTableView::moveCursor(action, modifiers);
    revealRightOfFrozen(next);
    return next;
}

void GridView::revealRightOfFrozen(const QModelIndex& index) {
    if (!index.isValid() || frozenColumns_ == 0 ||
        horizontalHeader()->visualIndex(index.column()) < frozenColumns_)
        return;
    const int left = columnViewportPosition(index.column());
    if (left < frozenWidth_)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left - frozenWidth_);
}
