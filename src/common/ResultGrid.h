#pragma once

#include "FooterSums.h"
#include "GridColumn.h"
#include "GridTitles.h"

#include <QWidget>

#include <vector>

class GridFooter;
class GridHeader;
class GridView;
class IndicatorHeader;
class QTableView;
class ResultQuery;
class ResultTableModel;

// The read-only result grid of both query windows: every row of the window's result query
// under a two-line title row, the current row painted navy, and a footer row with a static
// label and the sums, kept in ten-thousandths and worked out once per opening. A click on
// any title sorts the rows in memory by that column.
class ResultGrid : public QWidget {
    Q_OBJECT
public:
    // The first `frozenColumns` columns in display order stay in place when the grid scrolls
    // sideways: a second view over the first shows them, sharing its model and selection.
    ResultGrid(ResultQuery& query, std::vector<GridColumn> columns, int frozenColumns = 0,
               QWidget* parent = nullptr);

    QTableView* view() const;
    QTableView* frozenView() const { return frozen_; }
    GridHeader* header() const { return header_; }
    GridFooter* footer() const { return footer_; }
    GridTitles& titles() { return titles_; }
    const FooterSums& sums() const { return sums_; }
    ResultTableModel* model() const { return model_; }

    // Around every closing and opening of the query: the sums are worked out again and the
    // first row becomes current.
    void beginQueryChange();
    void endQueryChange();

    // The windows' title click: sort by the column and mark its title.
    void sortByTitle(int column);

    // The footer text of a column as drawn now: blank while the query is closed.
    QString footerText(int column) const;

signals:
    void doubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFrozenView();
    // Shows in the frozen view exactly the first columns of the main view's display order,
    // at their widths, and lays it over them.
    void syncFrozenView();
    ResultQuery& query_;
    std::vector<GridColumn> columns_;
    GridTitles titles_;
    FooterSums sums_;
    int frozenColumns_;
    ResultTableModel* model_;
    GridView* view_;
    GridHeader* header_;
    IndicatorHeader* indicator_;
    QTableView* frozen_ = nullptr;
    GridHeader* frozenHeader_ = nullptr;
    GridFooter* footer_;
};
