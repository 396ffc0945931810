#include "StockCardStatement.h"

#include "CalendarDays.h"
#include "result/SqlText.h"

namespace {

// The condition that a record of `column` is of the card's batch: no batch is a null or an
// empty text alike.
std::string ofBatch(const std::string& column, const std::optional<std::string>& batch) {
    if (!batch)
        return "";
    if (batch->empty())
        return " AND (" + column + " IS NULL OR " + column + " = '')";
    return " AND " + column + " = " + sqlLiteral(*batch);
}

} // namespace

std::vector<std::string> stockCardStatement(const StockCardCriteria& c) {
    const std::string warehouse = sqlLiteral(c.warehouseCode);
    const std::string item = sqlLiteral(c.itemCode);
    const std::string from = sqlLiteral(c.dateFrom);
    const std::string end = sqlLiteral(dayAfter(c.dateTo)); // the period ends before it
    const std::string stockBatch = ofBatch("s.cBatch", c.batch);
    const std::string lineBatch = ofBatch("b.cBatch", c.batch);
    const std::string lineOfCard =
        "a.cWhCode = " + warehouse + " AND b.cInvCode = " + item + lineBatch;
    return {
        "SELECT t.dDate AS 单据日期, t.cCode AS 单据号, t.cVouchName AS 单据类型, ",
        "  t.cRdName AS 收发类别, t.summary AS 摘要, t.cDepName AS 部门, t.cCusAbbName AS 客户, ",
        "  t.cVenAbbName AS 供应商简称, t.cBatch AS 批次, t.receipt AS 入库数量, ",
        "  t.issue AS 出库数量, ",
        // The balance after each row: the opening, then every line's receipt less its issue,
        // to the millionth that quantities are kept in (a running sum of floating-point
        // values would leave crumbs such as -1.1E-13 where the balance is nothing).
        "  ROUND(SUM(t.change) OVER (ORDER BY t.part, t.dDate, t.cCode, t.AutoID ROWS UNBOUNDED "
        "PRECEDING), 6) AS 结存数量 ",
        "FROM (",
        // The opening: today's stock less what was booked from the period's first day on.
        "  SELECT 0 AS part, NULL AS dDate, NULL AS cCode, NULL AS cVouchName, NULL AS cRdName, ",
        "    '期初结存' AS summary, NULL AS cDepName, NULL AS cCusAbbName, NULL AS cVenAbbName, ",
        // Every branch of the union types its quantities alike, so that no server takes a
        // column's type from a placeholder.
        "    NULL AS cBatch, CAST(NULL AS float) AS receipt, CAST(NULL AS float) AS issue, ",
        "    CAST((SELECT ISNULL(SUM(s.iQuantity), 0) FROM dbo.CurrentStock s ",
        "      WHERE s.cWhCode = " + warehouse + " AND s.cInvCode = " + item + stockBatch + ") ",
        "    - (SELECT ISNULL(SUM(CASE WHEN a.bRdFlag = 1 THEN b.iQuantity ELSE -b.iQuantity END), "
        "0) ",
        "      FROM dbo.rdrecords b INNER JOIN dbo.rdrecord a ON a.ID = b.ID ",
        "      WHERE " + lineOfCard + " AND a.dDate >= " + from + ") AS float) AS change, ",
        "    0 AS AutoID ",
        "  UNION ALL ",
        // Every line of the period, in booking order.
        "  SELECT 1, a.dDate, a.cCode, c.cVouchName, e.cRdName, a.cBusType, f.cDepName, ",
        "    h.cCusAbbName, k.cVenAbbName, b.cBatch, ",
        "    CAST(CASE WHEN a.bRdFlag = 1 THEN b.iQuantity END AS float), ",
        "    CAST(CASE WHEN a.bRdFlag = 0 THEN b.iQuantity END AS float), ",
        "    CAST(CASE WHEN a.bRdFlag = 1 THEN ISNULL(b.iQuantity, 0) ELSE -ISNULL(b.iQuantity, 0) "
        "END AS float), b.AutoID ",
        "  FROM dbo.rdrecords b INNER JOIN dbo.rdrecord a ON a.ID = b.ID ",
        "    LEFT OUTER JOIN dbo.VouchType c ON a.cVouchType = c.cVouchType ",
        "    LEFT OUTER JOIN dbo.Rd_Style e ON a.cRdCode = e.cRdCode ",
        "    LEFT OUTER JOIN dbo.Department f ON a.cDepCode = f.cDepCode ",
        "    LEFT OUTER JOIN dbo.Customer h ON a.cCusCode = h.cCusCode ",
        "    LEFT OUTER JOIN dbo.Vendor k ON a.cVenCode = k.cVenCode ",
        "  WHERE " + lineOfCard + " AND a.dDate >= " + from + " AND a.dDate < " + end,
        "  UNION ALL ",
        // The closing: the balance after the last line.
        "  SELECT 2, NULL, NULL, NULL, NULL, '期末结存', NULL, NULL, NULL, NULL, CAST(NULL AS "
        "float), ",
        "    CAST(NULL AS float), CAST(0 AS float), 0 ",
        ") t ",
        "ORDER BY t.part, t.dDate, t.cCode, t.AutoID",
    };
}
