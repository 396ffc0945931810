#pragma once

#include "result/FieldKind.h"
#include "table/DistinctValues.h"
#include "table/RowFilter.h"

#include <QDialog>

#include <optional>
#include <vector>

class QLineEdit;
class QListWidget;

// 筛选… on a column: its values with their row counts in the column's order (（空） first), a
// search box that narrows the list (确定 then keeps the ticked values found, as a spreadsheet's
// filter does), ticks with 全选 and 全不选, and for numbers and dates a
// range from … to. The current filter of the column, if any, is what it opens on.
class FilterDialog : public QDialog {
    Q_OBJECT
public:
    FilterDialog(ColumnFilter base, std::vector<DistinctValue> values, const ColumnFilter* current,
                 QWidget* parent = nullptr);

    // What 确定 asked for: a range when one is given, else the ticked values; none when every
    // value is ticked (the column's filter goes).
    std::optional<ColumnFilter> chosen() const;
    // 确定: closes only on a range that can be read and at least one value or bound.
    void accept() override;

private:
    void narrow(const QString& text);
    void tickShown(bool ticked);
    // Whether the value of `row` is ticked and shown: a search leaves out the values it hides.
    bool kept(int row) const;
    // The bounds typed, or a prompt when one cannot be read.
    bool readRange(ColumnFilter& filter, QString& problem) const;

    ColumnFilter base_;
    QListWidget* list_;
    QLineEdit* search_;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
};
