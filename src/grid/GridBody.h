#pragma once

#include "GridColumnLayout.h"
#include "table/GridCopy.h"
#include "table/GridSettings.h"
#include "table/RowSelection.h"

#include <QAbstractScrollArea>
#include <QPointer>

#include <functional>

class QAction;
class QLineEdit;
class QMenu;

class GridHeader;
class GridTitles;
class ResultQuery;
class ResultTableModel;

// The rows of a result grid. It paints only the rows in view, straight from the model, and
// keeps nothing per row, so a million rows cost it no memory. Row r is position r of the
// query's row order and the current row is the query's current record. The title row stands
// above the rows and the row indicator at their left; the first FrozenCols columns in
// display order stay in place when the rows scroll sideways, under titles of their own.
class GridBody : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 18;
    static constexpr int kIndicatorWidth = 12;

    GridBody(ResultTableModel& model, const GridSettings& settings, QWidget* parent = nullptr);

    GridHeader* header() const { return header_; }
    GridHeader* frozenHeader() const { return frozenHeader_; } // none without frozen columns
    const GridColumnLayout& columnLayout() const { return layout_; }

    int topRow() const;
    int currentRow() const; // -1 while there is no row
    int currentColumn() const { return currentColumn_; }
    void setCurrentCell(int row, int column);
    // The row drawn at a height of the viewport; -1 below the last row.
    int rowAt(int y) const;
    // Where a cell is drawn in the viewport.
    QRect cellRect(int row, int column) const;
    bool isEditorOpen() const { return !editor_.isNull(); }

    // Rows picked with Shift or Ctrl, by click or key; Ctrl+A picks all.
    const RowSelection& selection() const { return selection_; }
    // What a copy takes: the picked rows, or the current one when none is picked, the shown
    // columns in display order, and their titles if asked for. Ctrl+C and the context menu's
    // 复制 and 复制(含标题) ask for a copy.
    CopiedRows rowsToCopy(bool withTitles) const;
    // Cells that show `needle` (case ignored) are marked; none when it is empty.
    void markFound(const QString& needle);
    // A window's own entry for the context menu, after the grid's.
    void addMenuAction(QAction* action) { menuActions_.append(action); }
    // Entries about the cell under the pointer (-1 where there is none), after copying.
    using CellMenu = std::function<void(QMenu& menu, int row, int column)>;
    void setCellMenu(CellMenu cellMenu) { cellMenu_ = std::move(cellMenu); }

    // After the query opened or closed: the rows start at the top again.
    void rowsChanged();
    // After the rows were reordered: the current record, which stays current, is shown.
    void rowsReordered();
    // After rows arrived at the end: the scroll bar reaches them, nothing else moves.
    void rowsAdded();

signals:
    void doubleClicked();
    // Ctrl+F or 查找; F3 (forward) and Shift+F3.
    void findRequested();
    void findNextRequested(bool forward);
    void copyRequested(bool withTitles);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Tab and Shift+Tab move between columns instead of leaving the grid.
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Hovering a cut cell shows its whole text.
    bool viewportEvent(QEvent* event) override;

private:
    int rowCount() const;
    int fullRows() const;
    int columnsWidth() const;
    void updateGeometries();
    // Shows in the frozen title row exactly the frozen columns, at their widths.
    void syncFrozenHeader();
    void paintIndicator(QPainter& painter, int firstRow, int endRow) const;
    void moveToRow(int row);
    // After the current row moved to `row`: with Shift the run from the anchor is picked,
    // with Ctrl the row is added or removed, otherwise nothing is picked and the row becomes
    // the anchor.
    void pickTo(int row, Qt::KeyboardModifiers modifiers);
    // To the next shown column in display order; with `wrap`, past the ends onto the next or
    // the previous row.
    void stepColumn(int step, bool wrap);
    void scrollToCurrent();
    // F2 opens a read-only editor over the current cell: its text can be selected and
    // copied, never changed.
    void openEditor();
    void closeEditor();

    ResultQuery& query_;
    ResultTableModel& model_;
    const GridTitles& titles_;
    const GridSettings& settings_;
    GridHeader* header_;
    GridHeader* frozenHeader_ = nullptr;
    QWidget* corner_;
    GridColumnLayout layout_;
    int currentColumn_ = 0;
    RowSelection selection_;
    QList<QAction*> menuActions_;
    CellMenu cellMenu_;
    QString found_;
    int anchor_ = 0;
    QPointer<QLineEdit> editor_;
};
