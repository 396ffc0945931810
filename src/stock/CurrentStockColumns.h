#pragma once

#include "result/GridColumn.h"

#include <vector>

// The current-stock grid's columns in their display order when the window opens: item columns
// first, then batch and warehouse, then the quantities (the two transfer columns swapped);
// "合计" under the first column, sums under the quantities, and only the last title a title
// button. The first three columns stay in place when the grid scrolls sideways.
const std::vector<GridColumn>& currentStockColumns();
inline constexpr int kCurrentStockFrozenColumns = 3;
