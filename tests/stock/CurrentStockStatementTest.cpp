#include "stock/CurrentStockStatement.h"
#include "result/CodePage936.h"

#include <gtest/gtest.h>

namespace {

// The statement for empty criteria and no warehouses, line by line as the ERP query reads.
const std::vector<std::string> kEmptyCriteria = {
    "SELECT CASE WHEN namesake.sharedName IS NULL THEN dbo.Warehouse.cWhName ELSE "
    "CONCAT(dbo.Warehouse.cWhName, '（', dbo.Warehouse.cWhCode, '）') END AS "
    "仓库名称,dbo.CurrentStock.cInvCode AS 存货编码,  ",
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
    " LEFT OUTER JOIN (SELECT cWhName AS sharedName FROM dbo.Warehouse GROUP BY cWhName HAVING "
    "COUNT(*) > 1) namesake ON namesake.sharedName = dbo.Warehouse.cWhName ",
    " where (1=1) and ",
    "  (''='' or dbo.CurrentStock.cInvCode like '%%' ) and ",
    "  (''='' or dbo.Inventory.cInvAddCode like '%%' ) and ",
    "  (''='' or dbo.Inventory.cInvStd like '%%' )  and  ",
    "  (''='' or dbo.Inventory.cInvName like '%%' ) ",
    "  GROUP BY dbo.Warehouse.cWhCode, dbo.Warehouse.cWhName, namesake.sharedName, "
    "dbo.CurrentStock.cInvCode,  ",
    "     dbo.Inventory.cInvName, dbo.Inventory.cInvStd, dbo.Inventory.cInvAddCode,  ",
    "     dbo.CurrentStock.cBatch, dbo.CurrentStock.cFree1   ",
};

} // namespace

TEST(CurrentStockStatement, EmptyCriteriaGiveTheTwentySixLines) {
    EXPECT_EQ(currentStockStatement({}), kEmptyCriteria);
}

TEST(CurrentStockStatement, EachCriterionFillsItsOwnLine) {
    CurrentStockCriteria criteria;
    criteria.itemCode = "AB";
    auto lines = currentStockStatement(criteria);
    EXPECT_EQ(lines[19], "  ('AB'='' or dbo.CurrentStock.cInvCode like '%AB%' ) and ");
    criteria = {};
    criteria.addCode = "A-01";
    EXPECT_EQ(currentStockStatement(criteria)[20],
              "  ('A-01'='' or dbo.Inventory.cInvAddCode like '%A-01%' ) and ");
    criteria = {};
    criteria.spec = "M8 ×30";
    EXPECT_EQ(currentStockStatement(criteria)[21],
              "  ('M8 ×30'='' or dbo.Inventory.cInvStd like '%M8 ×30%' )  and  ");
    criteria = {};
    criteria.name = "轴承";
    lines = currentStockStatement(criteria);
    EXPECT_EQ(lines[22], "  ('轴承'='' or dbo.Inventory.cInvName like '%轴承%' ) ");
    lines[22] = kEmptyCriteria[22];
    EXPECT_EQ(lines, kEmptyCriteria); // nothing else moved
}

TEST(CurrentStockStatement, WarehousesAddOneLineOfQuotedCodesInListOrder) {
    CurrentStockCriteria criteria;
    criteria.warehouseCodes = {"01"};
    auto lines = currentStockStatement(criteria);
    ASSERT_EQ(lines.size(), 27U);
    EXPECT_EQ(lines[19], " dbo.Warehouse.cWhCode in('01') and ");
    criteria.warehouseCodes = {"07", "01", "03"};
    EXPECT_EQ(currentStockStatement(criteria)[19],
              " dbo.Warehouse.cWhCode in('07','01','03') and ");
    criteria.warehouseCodes = {"WH-0101", "A"};
    EXPECT_EQ(currentStockStatement(criteria)[19], " dbo.Warehouse.cWhCode in('WH-0101','A') and ");
    lines.erase(lines.begin() + 19);
    EXPECT_EQ(lines, kEmptyCriteria);
}

TEST(CurrentStockStatement, QuotesAreDoubledInsideEveryLiteral) {
    CurrentStockCriteria criteria;
    criteria.name = "' or 1=1 --";
    criteria.warehouseCodes = {"0'1"};
    const auto lines = currentStockStatement(criteria);
    EXPECT_EQ(lines[19], " dbo.Warehouse.cWhCode in('0''1') and ");
    EXPECT_EQ(lines[23], "  (''' or 1=1 --'='' or dbo.Inventory.cInvName like '%'' or 1=1 --%' ) ");
}

TEST(CurrentStockStatement, TextsOutsideCodePage936GoInAsUnicodeLiterals) {
    CurrentStockCriteria criteria;
    criteria.spec = "2.5mm²";       // "²" is not in code page 936
    criteria.name = "螺栓 €°±×÷“”"; // every one of these is
    criteria.warehouseCodes = {"0😀", "01"};
    const auto lines = currentStockStatement(criteria);
    EXPECT_EQ(lines[19], " dbo.Warehouse.cWhCode in(N'0😀','01') and ");
    EXPECT_EQ(lines[22], "  (N'2.5mm²'='' or dbo.Inventory.cInvStd like N'%2.5mm²%' )  and  ");
    EXPECT_EQ(lines[23], "  ('螺栓 €°±×÷“”'='' or dbo.Inventory.cInvName like '%螺栓 €°±×÷“”%' ) ");
    // The soft hyphen has a code but reads back as another character (ICU's converter alone
    // would drop it): the literal keeps it as Unicode, as the exports write it as "?".
    criteria.name = "螺\u00ADM8";
    EXPECT_EQ(currentStockStatement(criteria)[23],
              "  (N'螺\u00ADM8'='' or dbo.Inventory.cInvName like N'%螺\u00ADM8%' ) ");
    std::string bytes;
    EXPECT_FALSE(appendCp936FromUtf8("螺\u00ADM8", bytes));
    EXPECT_EQ(bytes, "\xC2\xDD?M8");
    criteria.name = "O'Neil 𠀀"; // a character beyond the BMP, and a quote
    EXPECT_EQ(currentStockStatement(criteria)[23],
              "  (N'O''Neil 𠀀'='' or dbo.Inventory.cInvName like N'%O''Neil 𠀀%' ) ");
    // Bytes that are no UTF-8 (cut short, a stray continuation, an overlong "/") are no
    // character of the code page, never a control character made of their bits.
    for (const std::string_view invalid : {"A\xD8",
                                           "\x80"
                                           "B",
                                           "\xC0\xAF", "\xED\xA0\x80"}) {
        bytes.clear();
        EXPECT_FALSE(appendCp936FromUtf8(invalid, bytes)) << invalid;
        EXPECT_EQ(bytes.find_first_of("\x01\x02\x03\x04\x05\x06\x07\x08\x0F\x18\x1F"),
                  std::string::npos);
    }
}
