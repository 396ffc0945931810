#pragma once

#include "result/GridColumn.h"

#include <vector>

// The journal grid's columns in their display order when the window opens. No column is
// frozen.
const std::vector<GridColumn>& journalColumns();
