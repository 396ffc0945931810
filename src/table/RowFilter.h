#pragma once

#include "CellText.h"
#include "result/FieldKind.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ResultColumn;
class ResultSet;
class WorkControl;

// What one column's filter lets through: the rows whose cell shows one of `texts` (In), none
// of them (NotIn), or a value within the bounds (Range, numbers and dates). An empty text
// stands for the empty and null cells alike, listed as （空）.
struct ColumnFilter {
    enum class Kind { In, NotIn, Range };
    std::string field;
    QString caption; // the column's title, for the strip and the printed heading
    FieldKind fieldKind = FieldKind::Text;
    Kind kind = Kind::In;
    QStringList texts;
    // Range: the bounds on the value (dates in milliseconds since 1970, local time), each
    // inclusive unless strict.
    std::optional<double> low;
    std::optional<double> high;
    bool lowStrict = false;
    bool highStrict = false;

    // As the strip names it: "仓库名称：01、03", "仓库名称 ≠ 01", "现存量 < 0", "1 ≤ 现存量 ≤ 5".
    QString text() const;
};

// The text an empty or null cell has in the filter lists and the strip.
inline const QString kEmptyValue = "（空）";

// The value a range compares: dates in milliseconds, numbers as floating numbers.
double comparableValue(const ResultColumn& column, std::size_t row);
// A range's bound as the strip shows it and the filter list reads it back.
QString rangeBoundText(FieldKind kind, double value);

// The filters in force on a grid, at most one per column, all of which a shown row must pass.
class RowFilter {
public:
    bool empty() const { return filters_.empty(); }
    const std::vector<ColumnFilter>& filters() const { return filters_; }
    // Replaces the filter of the same field, if any.
    void set(ColumnFilter filter);
    void remove(const std::string& field);
    void clear() { filters_.clear(); }
    const ColumnFilter* find(const std::string& field) const;

    // Per row id of `rows`, 1 where the row passes every filter but that of `except`; empty
    // when no filter applies. A filter whose field the rows lack lets every row through.
    // Checks `control` for a cancel every block of rows.
    std::vector<std::uint8_t> passing(const ResultSet& rows, const CellText& cellText,
                                      WorkControl& control, const std::string& except = {}) const;

    // The filters as a heading lists them after the criteria: "筛选：…；…"; empty when none.
    QString describe() const;

private:
    std::vector<ColumnFilter> filters_;
};
