#pragma once

#include "result/FieldKind.h"
#include "result/GridColumn.h"

#include <vector>

// The stock card's result fields and its grid's columns.
const std::vector<FieldDecl>& stockCardFields();
const std::vector<GridColumn>& stockCardColumns();

// 单据日期 and 单据号 stay in place when the grid scrolls sideways.
inline constexpr int kStockCardFrozenColumns = 2;
