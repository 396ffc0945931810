#pragma once

#include "ResultColumn.h"

#include <cstdint>
#include <vector>

// The row order of a result sorted by one column, stable, so that equal values keep the
// order the database returned them in: numbers and dates by value, texts by the Chinese
// pinyin collation (one sort key per distinct text, then a counting sort by its rank), nulls before
// every value ascending and after every value descending.
std::vector<std::uint32_t> sortedRowOrder(const ResultColumn& column, bool descending);
