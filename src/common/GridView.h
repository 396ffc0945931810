#pragma once

#include <QTableView>

// The grid's main view. With frozen leading columns laid over it, moving the current cell and
// scrolling to a cell never leave that cell hidden under them.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr) : QTableView(parent) {}

    void setFrozenWidth(int width) { frozenWidth_ = width; }
    void setFrozenColumns(int count) { frozenColumns_ = count; }

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void revealRightOfFrozen(const QModelIndex& index);

    int frozenWidth_ = 0;
    int frozenColumns_ = 0;
};
