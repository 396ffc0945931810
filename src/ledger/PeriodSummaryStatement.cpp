#include "PeriodSummaryStatement.h"

#include "CalendarDays.h"
#include "result/SqlText.h"

namespace {

constexpr const char* kAmount = "decimal(19,4)"; // the ERP's money, to the ten-thousandth

// The period's balance, receipts, issues and amounts added up over the group, with the labels
// the windows show; quantities to the millionth they are kept in (sums of floating-point
// values leave crumbs such as -1.1E-13 where a balance is nothing).
constexpr const char* kFigures =
    "  ROUND(SUM(t.closing - t.receipts + t.issues), 6) AS 期初数量, "
    "ROUND(SUM(t.receipts), 6) AS 入库数量, ROUND(SUM(t.issues), 6) AS 出库数量, "
    "ROUND(SUM(t.closing), 6) AS 期末数量, SUM(t.receiptAmount) AS 入库金额, "
    "SUM(t.issueAmount) AS 出库金额 ";

} // namespace

std::vector<std::string> periodSummaryStatement(const PeriodSummaryCriteria& c) {
    const std::string from = sqlLiteral(c.dateFrom);
    const std::string end = sqlLiteral(dayAfter(c.dateTo)); // the period ends before it
    const std::string batch = c.byBatch ? ", t.cBatch" : "";
    const auto booked = [&](const char* condition, const char* value) {
        return std::string("CASE WHEN ") + condition + " THEN " + value + " ELSE 0 END";
    };
    // Both branches of the union typed alike, quantities as float and amounts as money's
    // decimal, so that no server takes a column's type from a placeholder.
    const auto typed = [](const std::string& value, const char* type) {
        return "    CAST(" + value + " AS " + type + ")";
    };
    std::vector<std::string> lines = {
        "SELECT t.cWhCode AS 仓库编码, w.cWhName AS 仓库, t.cInvCode AS 存货编码, ",
        "  i.cInvName AS 存货名称, i.cInvStd AS 规格型号, u.cComUnitName AS 计量单位, " +
            std::string(c.byBatch ? "t.cBatch AS 批号, " : ""),
        kFigures,
        "FROM (",
        // Today's stock: the balance at the end of every period, before what came after it.
        "  SELECT s.cWhCode, s.cInvCode, s.cBatch, ",
        typed("ISNULL(s.iQuantity, 0)", "float") + " AS closing, " + typed("0", "float") +
            " AS receipts, " + typed("0", "float") + " AS issues, ",
        typed("0", kAmount) + " AS receiptAmount, " + typed("0", kAmount) + " AS issueAmount ",
        "  FROM dbo.CurrentStock s ",
        "  UNION ALL ",
        // Every line from the period's first day on: in the period, or after it.
        "  SELECT a.cWhCode, b.cInvCode, b.cBatch, ",
        typed(booked(("a.dDate >= " + end + " AND a.bRdFlag = 1").c_str(),
                     "-ISNULL(b.iQuantity, 0)") +
                  " + " +
                  booked(("a.dDate >= " + end + " AND a.bRdFlag = 0").c_str(),
                         "ISNULL(b.iQuantity, 0)"),
              "float") +
            ", ",
        typed(booked(("a.dDate < " + end + " AND a.bRdFlag = 1").c_str(), "ISNULL(b.iQuantity, 0)"),
              "float") +
            ", ",
        typed(booked(("a.dDate < " + end + " AND a.bRdFlag = 0").c_str(), "ISNULL(b.iQuantity, 0)"),
              "float") +
            ", ",
        typed(booked(("a.dDate < " + end + " AND a.bRdFlag = 1").c_str(), "ISNULL(b.iPrice, 0)"),
              kAmount) +
            ", ",
        typed(booked(("a.dDate < " + end + " AND a.bRdFlag = 0").c_str(), "ISNULL(b.iPrice, 0)"),
              kAmount),
        "  FROM dbo.rdrecords b INNER JOIN dbo.rdrecord a ON a.ID = b.ID ",
        "  WHERE a.dDate >= " + from,
        ") t INNER JOIN dbo.Warehouse w ON w.cWhCode = t.cWhCode ",
        "  INNER JOIN dbo.Inventory i ON i.cInvCode = t.cInvCode ",
        "  INNER JOIN dbo.ComputationUnit u ON u.cComunitCode = i.cComUnitCode ",
        " WHERE (1=1) and ",
    };
    if (!c.warehouseCodes.empty())
        lines.push_back(" t.cWhCode in(" + quotedCodeList(c.warehouseCodes) + ") and ");
    lines.push_back(criterionLine(c.itemCode, "'='' or t.cInvCode like '", "' ) and "));
    lines.push_back(criterionLine(c.addCode, "'='' or i.cInvAddCode like '", "' ) and "));
    lines.push_back(criterionLine(c.spec, "'='' or i.cInvStd like '", "' ) and "));
    lines.push_back(criterionLine(c.name, "'='' or i.cInvName like '", "' ) "));
    lines.push_back(" GROUP BY t.cWhCode, w.cWhName, t.cInvCode, i.cInvName, i.cInvStd, "
                    "u.cComUnitName" +
                    batch + " ");
    lines.push_back(" HAVING ROUND(SUM(t.closing - t.receipts + t.issues), 6) <> 0 OR "
                    "ROUND(SUM(t.receipts), 6) <> 0 OR ROUND(SUM(t.issues), 6) <> 0 OR "
                    "ROUND(SUM(t.closing), 6) <> 0 ");
    lines.push_back(" ORDER BY t.cWhCode, t.cInvCode" + batch);
    return lines;
}
