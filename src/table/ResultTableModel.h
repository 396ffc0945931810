#pragma once

#include "CellText.h"
#include "FooterSums.h"
#include "GridTitles.h"
#include "RowFilter.h"
#include "result/GridColumn.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>

#include <memory>
#include <optional>
#include <vector>

class ResultQuery;

// A footer cell as it is drawn and written: text, font, colour and its column's alignment.
struct FooterCell {
    QString text;
    QFont font;
    QColor background;
    Qt::Alignment alignment;
};

// A result query seen as its grid shows it: the columns of a window's column table with their
// titles and widths, the rows in the query's row order (which the title clicks set), and the
// footer sums, worked out once per opening. Cell texts are made only when a cell is asked for.
// The grid paints it; the export command reads it without any widget.
class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ResultTableModel(ResultQuery& query, std::vector<GridColumn> columns,
                     QObject* parent = nullptr);

    ResultQuery& query() const { return query_; }
    const std::vector<GridColumn>& columns() const { return columns_; }
    // The result's columns that the grid's columns show, once open.
    std::vector<std::size_t> resultColumns() const;
    // The result column a grid column shows, once open; none when the result lacks its field.
    std::optional<std::size_t> resultColumn(int column) const {
        return resultColumn_[static_cast<std::size_t>(column)];
    }
    // The column that shows `field`; -1 when none does.
    int columnOf(std::string_view field) const;
    GridTitles& titles() { return titles_; }
    const GridTitles& titles() const { return titles_; }
    const FooterSums& sums() const { return sums_; }

    // The criteria of the rows' query, as a printed page's heading shows them.
    const QString& criteriaText() const { return criteriaText_; }
    // The same followed by the filters in force, if any.
    QString criteriaAndFilterText() const;
    void setCriteriaText(const QString& text) { criteriaText_ = text; }

    // Around every closing and opening of the query; the sums are worked out again.
    void beginQueryChange();
    void endQueryChange();
    // While the query's rows arrive: the rows published since are added at the end.
    void takeArrivedRows();
    // The last row is in: the query takes the whole result `rows` it showed arriving, sorted
    // by `sortOrder` into `order` unless it is empty, and the sums are worked out; the current
    // record stays current.
    void endArrival(std::shared_ptr<const ResultSet> rows, const std::string& sortOrder,
                    std::vector<std::uint32_t> order);
    // The windows' title click: sort by the column and mark its title; nothing while the
    // query is closed.
    void sortByTitle(int column);
    // The same in two steps, so that the order can be worked out on a worker meanwhile: the
    // sort order text a click asks for, and the rows shown in the order worked out for it.
    std::string sortOrderForClick(int column) const;
    void showSorted(int column, const std::string& sortOrder, std::vector<std::uint32_t> order);

    // The filters in force; every query change ends them.
    const RowFilter& filter() const { return filter_; }
    // Shows the rows that `filter` lets through, `shown` per row id as RowFilter::passing
    // gave it for the rows open now; the sums are worked out again over them.
    void showFiltered(RowFilter filter, std::vector<std::uint8_t> shown);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // A column's alignment: numbers right, text and dates left; while the query is closed,
    // summed columns right.
    Qt::Alignment alignment(int column) const;
    // The footer text of a column as drawn now: blank while the query is closed, "…" in a
    // summed column while rows arrive.
    QString footerText(int column) const;
    FooterCell footerCell(int column) const;
    // A column's width in pixels as the column table gives it, grown where its footer text or,
    // in a date column, a whole date would not show whole.
    int displayWidth(int column) const;

private:
    ResultQuery& query_;
    std::vector<GridColumn> columns_;
    std::vector<std::optional<std::size_t>> resultColumn_; // per grid column, once open
    CellText cellText_;
    GridTitles titles_;
    FooterSums sums_;
    RowFilter filter_;
    QString criteriaText_;
};

// The font of the grids' cells and titles.
QFont gridFont();
