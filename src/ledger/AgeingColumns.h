#pragma once

#include "AgeingBands.h"
#include "result/FieldKind.h"
#include "result/GridColumn.h"

#include <vector>

// The stock ageing's result fields and its grid's columns, a band column per age band, with
// 批号 after 计量单位 when a row is a batch's.
std::vector<FieldDecl> ageingFields(const AgeingBands& bands, bool byBatch);
std::vector<GridColumn> ageingColumns(const AgeingBands& bands, bool byBatch);

// 仓库编码 to 存货名称 stay in place when the grid scrolls sideways.
inline constexpr int kAgeingFrozenColumns = 4;
