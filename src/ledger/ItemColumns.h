#pragma once

#include "result/FieldKind.h"
#include "result/GridColumn.h"

#include <vector>

// What the summary and the ageing begin their rows with: 仓库编码, 仓库 (its footer "合计"),
// 存货编码, 存货名称, 规格型号, 计量单位, and 批号 when a row is a batch's; as fields and as
// grid columns with bold 14 footers.
std::vector<FieldDecl> itemFields(bool byBatch);
std::vector<GridColumn> itemColumns(bool byBatch);

// A figure's column, its sum in the footer in bold 14.
GridColumn summedColumn(const std::string& field, int width);
