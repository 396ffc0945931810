#include "CurrentStockStatement.h"

#include "result/SqlText.h"

#include <array>
#include <string_view>

namespace {

// After the first line, which names the warehouse.
constexpr std::array<std::string_view, 16> kSelectLines = {
    " dbo.Inventory.cInvName AS 存货名称, dbo.Inventory.cInvStd AS 规格型号,  ",
    " dbo.Inventory.cInvAddCode AS 存货代码, dbo.CurrentStock.cBatch AS 批号,  ",
    " dbo.CurrentStock.cFree1 AS 存货备注, SUM(ISNULL(dbo.CurrentStock.iQuantity, 0)) AS 现存量, ",
    "  SUM(ISNULL(dbo.CurrentStock.iQuantity, 0)+ISNULL(dbo.CurrentStock.fInQuantity, "
    "0)+ISNULL(dbo.CurrentStock.fTransInQuantity, 0)   ",
    "  -ISNULL(dbo.CurrentStock.fOutQuantity, 0)-ISNULL(dbo.CurrentStock.fTransOutQuantity, 0)) "
    "AS 可用数量,  ",
    "    SUM(ISNULL(dbo.CurrentStock.fOutQuantity, 0)) AS 待发货数量,    ",
    "    SUM(ISNULL(dbo.CurrentStock.fInQuantity, 0)) AS 待入库数量,   ",
    "    SUM(ISNULL(dbo.CurrentStock.fTransInQuantity, 0)) AS 调拨在途数量,  ",
    "    SUM(ISNULL(dbo.CurrentStock.fTransOutQuantity, 0)) AS 调拨待发数量 ,   ",
    "    SUM(ISNULL(dbo.CurrentStock.fStopQuantity,0)) AS 冻结量, dbo.Warehouse.cWhCode AS "
    "仓库编码  ",
    "  FROM dbo.CurrentStock INNER JOIN      ",
    "    dbo.Inventory ON dbo.CurrentStock.cInvCode = dbo.Inventory.cInvCode INNER JOIN  ",
    "     dbo.Warehouse ON  ",
    "    dbo.Warehouse.cWhCode = dbo.CurrentStock.cWhCode INNER JOIN   ",
    "     dbo.ComputationUnit Unit ON      ",
    "     dbo.Inventory.cComUnitCode = Unit.cComunitCode  ",
};

constexpr std::array<std::string_view, 3> kGroupByLines = {
    "  GROUP BY dbo.Warehouse.cWhCode, dbo.Warehouse.cWhName, namesake.sharedName, "
    "dbo.CurrentStock.cInvCode,  ",
    "     dbo.Inventory.cInvName, dbo.Inventory.cInvStd, dbo.Inventory.cInvAddCode,  ",
    "     dbo.CurrentStock.cBatch, dbo.CurrentStock.cFree1   ",
};

} // namespace

std::vector<std::string> currentStockStatement(const CurrentStockCriteria& criteria) {
    // Stock is added up per warehouse code: two warehouses of one name stay two rows.
    std::vector<std::string> lines = {"SELECT " + warehouseLabel("dbo.Warehouse") +
                                      " AS 仓库名称,dbo.CurrentStock.cInvCode AS 存货编码,  "};
    lines.insert(lines.end(), kSelectLines.begin(), kSelectLines.end());
    lines.push_back(sharedWarehouseNames("dbo.Warehouse", "dbo.Warehouse"));
    lines.emplace_back(" where (1=1) and ");
    if (!criteria.warehouseCodes.empty())
        lines.push_back(" dbo.Warehouse.cWhCode in(" + quotedCodeList(criteria.warehouseCodes) +
                        ") and ");
    lines.push_back(
        criterionLine(criteria.itemCode, "'='' or dbo.CurrentStock.cInvCode like '", "' ) and "));
    lines.push_back(
        criterionLine(criteria.addCode, "'='' or dbo.Inventory.cInvAddCode like '", "' ) and "));
    lines.push_back(
        criterionLine(criteria.spec, "'='' or dbo.Inventory.cInvStd like '", "' )  and  "));
    lines.push_back(criterionLine(criteria.name, "'='' or dbo.Inventory.cInvName like '", "' ) "));
    lines.insert(lines.end(), kGroupByLines.begin(), kGroupByLines.end());
    return lines;
}
