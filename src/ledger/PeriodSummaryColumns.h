#pragma once

#include "result/FieldKind.h"
#include "result/GridColumn.h"

#include <vector>

// The period summary's result fields and its grid's columns, with 批号 after 计量单位 when a
// row is a batch's.
const std::vector<FieldDecl>& periodSummaryFields(bool byBatch);
const std::vector<GridColumn>& periodSummaryColumns(bool byBatch);

// 仓库编码 to 存货名称 stay in place when the grid scrolls sideways.
inline constexpr int kPeriodSummaryFrozenColumns = 4;
