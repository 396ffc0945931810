#pragma once

#include "CellText.h"

#include <QString>

#include <cstdint>
#include <vector>

class ResultColumn;
class WorkControl;

// One entry of a column's filter list: a text its cells show and on how many rows.
struct DistinctValue {
    QString text; // empty for the empty and null cells
    std::size_t count = 0;
};

// The texts a column's cells show on the rows that `shown` lets through (every row when it is
// empty), each once with its row count, in the column's ascending order: the empty cells
// first, then numbers and dates by value, texts by the Chinese collation. Checks `control`
// for a cancel every block of rows.
std::vector<DistinctValue> distinctValues(const ResultColumn& column,
                                          const std::vector<std::uint8_t>& shown,
                                          const CellText& cellText, WorkControl& control);
