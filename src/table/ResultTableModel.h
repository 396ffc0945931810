#pragma once

#include "CellText.h"
#include "result/GridColumn.h"

#include <QAbstractTableModel>

#include <functional>
#include <optional>
#include <vector>

class ResultQuery;

// The rows of a result query, in the query's row order, in the columns of a window's column
// table. Cell texts are made only when a cell is drawn.
class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ResultTableModel(const ResultQuery& query, std::vector<GridColumn> columns,
                     QObject* parent = nullptr);

    // Around every closing and opening of the query.
    void beginQueryChange();
    void endQueryChange();
    // Runs `reorder` (which changes the query's row order) as a layout change.
    void reorderRows(const std::function<void()>& reorder);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // A column's alignment: numbers right, text and dates left; while the query is closed,
    // summed columns right.
    Qt::Alignment alignment(int column) const;

private:
    const ResultQuery& query_;
    std::vector<GridColumn> columns_;
    std::vector<std::optional<std::size_t>> resultColumn_; // per grid column, once open
    CellText cellText_;
};
