#pragma once

#include "GridFooter.h"
#include "result/GridColumn.h"
#include "result/ResultSet.h"
#include "settings/WindowLayouts.h"
#include "table/BackgroundJob.h"
#include "table/DistinctValues.h"
#include "table/GridSettings.h"
#include "table/ResultTableModel.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class FilterStrip;
class QMenu;
class FindBar;
class GridBody;
class GridHeader;
class ResultQuery;

// The read-only result grid of both query windows: it paints its table model, every row of
// the window's result query under a two-line title row, the current row navy, and a footer
// row with a static label and the sums. A click on any title is reported; the windows
// answer it by sorting the rows in memory.
class ResultGrid : public QWidget {
    Q_OBJECT
public:
    // The first `frozenColumns` columns in display order stay in place when the grid scrolls
    // sideways.
    ResultGrid(ResultQuery& query, std::vector<GridColumn> columns, int frozenColumns = 0,
               QWidget* parent = nullptr);

    GridBody* body() const { return body_; }
    GridHeader* header() const;
    GridFooter* footer() const { return footer_; }
    // Under the footer; Ctrl+F or 查找 opens it.
    FindBar* findBar() const { return findBar_; }
    GridTitles& titles() { return model_->titles(); }
    const GridTitles& titles() const { return model_->titles(); }
    const std::vector<GridColumn>& columns() const { return model_->columns(); }
    ResultQuery& query() const { return model_->query(); }
    const FooterSums& sums() const { return model_->sums(); }
    const GridSettings& settings() const { return settings_; }
    ResultTableModel* model() const { return model_; }

    // Around every closing and opening of the query: the sums are worked out again, a column
    // grows where its footer would not show whole, and the first row becomes current.
    void beginQueryChange();
    void endQueryChange();

    // A query run, in two steps so that the rows can be read on a worker thread meanwhile:
    // `clearForRun` closes the query, so that the grid shows no rows, and gives it the
    // statement `lines`; `showRows` opens it on the rows read for that statement, in the
    // `order` that `sortOrder` gives them (the server's when empty). False when the query
    // cannot hold them; it then stays closed and the grid empty.
    // Between the two, `showArrivingRows` shows the rows read so far while a worker reads
    // more (again and again, with the same result or, when the statement ran again, another);
    // `showRows` with the same result then keeps the place and picked rows.
    void clearForRun(const std::vector<std::string>& lines);
    bool showArrivingRows(const std::shared_ptr<const ResultSet>& rows);
    bool showRows(std::shared_ptr<const ResultSet> rows, const std::string& sortOrder = {},
                  std::vector<std::uint32_t> order = {});
    bool showRows(ResultSet rows) {
        return showRows(std::make_shared<const ResultSet>(std::move(rows)));
    }

    // How the grid has its heavy work done (a sort, a copy of many rows): a window runs it
    // off the interface thread under its wait cursor, with "正在<action>……" in its status bar
    // and a cancel; `finished` gets null after success. Without a runner, the grid does the
    // work at once.
    using WorkRunner = std::function<void(const QString& action, BackgroundJob::Work work,
                                          BackgroundJob::Finished finished)>;
    void setWorkRunner(WorkRunner runner) { runWork_ = std::move(runner); }

    // The windows' title click: sort by the column and mark its title. The order is worked out
    // from the rows as they are now; a cancel keeps the order shown.
    void sortByTitle(int column);
    // Ctrl+C and 复制: the rows to copy as tab-separated text on the clipboard; a cancel leaves
    // the clipboard as it was.
    void copyToClipboard(bool withTitles);

    // 筛选: the filters in force, and the rows they let through shown, worked out on the worker
    // from the rows in memory (never a new statement); the sort stays, a cancel keeps the
    // rows shown. Every new result ends the filters.
    const RowFilter& filter() const { return model_->filter(); }
    void applyFilter(RowFilter filter);
    void setColumnFilter(ColumnFilter filter);
    void removeColumnFilter(const std::string& field);
    // A filter on a column that lets every row through yet: its field, title and kind.
    ColumnFilter columnFilter(int column) const;
    // A filter on a column by one of its cells: equal to its text, not equal, or (numbers and
    // dates) below or above its value.
    enum class CellFilter { Equal, NotEqual, Below, Above };
    ColumnFilter cellFilter(int column, int row, CellFilter kind) const;
    // The column's filter list on the worker: its values on the rows the other filters let
    // through, handed to `ready` on the interface thread.
    void listValues(int column, std::function<void(std::vector<DistinctValue>)> ready);
    FilterStrip* filterStrip() const { return filterStrip_; }

    // The columns as the user left them: every column in display order with its width and
    // whether it is hidden.
    std::vector<StoredColumn> columnLayout() const;
    // Puts the columns as stored, checked against the grid's own: a field the grid lacks or
    // met before is left out, a width out of range takes the column's own, a column the list
    // lacks takes its own place at its own width, and the grid never hides every column.
    void restoreColumnLayout(const std::vector<StoredColumn>& stored);
    // 恢复默认列: the columns in their first order and widths, all shown.
    void restoreDefaultColumns();
    // 显示的列…: a list of the columns to tick on and off.
    void chooseShownColumns();

    QString footerText(int column) const { return model_->footerText(column); }
    Qt::Alignment alignment(int column) const { return model_->alignment(column); }
    FooterCell footerCell(int column) const { return model_->footerCell(column); }

signals:
    // A left-button click on any title, or the release of a right-button drag that moved no
    // column.
    void titleClicked(int column);
    void doubleClicked();
    // Other rows are shown: a filter was set, changed or removed.
    void filterChanged();

private:
    // Closes the query, makes `change` (false when it throws DbError) and opens it again.
    // Draws the marked title as any other while the rows are not in its order.
    void holdSortMark(bool held);
    bool changeQuery(const std::function<void()>& change);
    // A column whose footer text does not fit grows just enough to show it whole.
    void widenForFooters();
    // The context menu's 筛选 entries for a cell, and 筛选… with the column's value list.
    void addFilterEntries(QMenu& menu, int row, int column);
    // The context menu's 显示的列… and 恢复默认列.
    void addColumnEntries(QMenu& menu);
    void askColumnFilter(int column);

    GridSettings settings_;
    WorkRunner runWork_;
    ResultTableModel* model_;
    GridBody* body_;
    GridFooter* footer_;
    FindBar* findBar_;
    FilterStrip* filterStrip_;
};
