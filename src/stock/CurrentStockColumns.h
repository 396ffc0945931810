#pragma once

#include "common/GridColumn.h"

#include <vector>

// The current-stock grid's columns in their display order when the window opens: item columns
// first, then batch and warehouse, then the quantities.
const std::vector<GridColumn>& currentStockColumns();
