#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

class TableSnapshot;
class WorkControl;

// Rows of a grid as tab-separated text for the clipboard: a line per row, ended by a line
// feed, with the cells of `columns` (logical columns in display order) as `cell` gives them;
// a tab or line break inside a cell becomes a blank, so that rows and columns stay apart.
// With titles, their line comes first.
QString tabSeparatedRows(const std::vector<int>& columns, const std::vector<int>& rows,
                         const std::function<QString(int row, int column)>& cell,
                         const std::vector<QString>& titles = {});

// Whether a character inside a value would break the rows of tab-separated text.
inline bool breaksTextRows(char32_t c) {
    return c == '\t' || c == '\r' || c == '\n';
}

// The text with every character that breaks rows made a blank.
QString withoutRowBreaks(QString text);

// What a copy takes from a grid: for each copied column, in display order, the result column
// it shows (none: its cells are empty); the rows by place in the row order; the titles' line,
// or nothing.
struct CopiedRows {
    std::vector<std::optional<std::size_t>> columns;
    std::vector<int> rows;
    std::vector<QString> titles;
};

// The copied rows' text, cells as the grid shows them, from a snapshot of the table: on any
// thread. Between rows it throws WorkCancelled once the control asks it to stop.
QString copiedText(const TableSnapshot& table, const CopiedRows& copied,
                   const WorkControl& control);
