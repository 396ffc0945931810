#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

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
