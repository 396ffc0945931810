#include "AgeingStatement.h"

#include "CalendarDays.h"
#include "result/SqlText.h"

namespace {

// A quantity to the millionth it is kept in (sums of floating-point values leave crumbs such
// as -1.1E-13 where a balance is nothing).
std::string rounded(const std::string& value) {
    return "ROUND(" + value + ", 6)";
}

// The part of the balance that each receipt makes, summed over the receipts of the days from
// `first` (none: the earliest) to before `end` (none: the latest).
std::string bandSum(const std::string& first, const std::string& end) {
    std::string condition;
    if (!first.empty())
        condition = "m.dDate >= " + sqlLiteral(first);
    if (!end.empty())
        condition += (condition.empty() ? "" : " AND ") + ("m.dDate < " + sqlLiteral(end));
    return "SUM(CASE WHEN " + condition + " THEN m.counted ELSE 0 END)";
}

// The band columns: a receipt of day d lies in the band of the as-of day less d.
std::string bandColumns(const AgeingCriteria& c) {
    const std::vector<std::string> titles = ageingBandTitles(c.bands);
    std::string columns;
    std::string newer; // the first day of the band before, the as-of day's end for the first
    for (std::size_t k = 0; k < c.bands.size(); ++k) {
        const std::string first = daysBefore(c.asOf, c.bands[k]);
        columns += "  " + rounded(bandSum(first, newer)) + " AS [" + titles[k] + "], ";
        newer = first;
    }
    // The oldest band also holds what the receipts on record do not cover.
    columns += "  " +
               rounded(bandSum({}, newer) +
                       " + CASE WHEN MAX(m.balance) > SUM(m.received) THEN MAX(m.balance) - "
                       "SUM(m.received) ELSE 0 END") +
               " AS [" + titles.back() + "], ";
    return columns;
}

} // namespace

std::vector<std::string> ageingStatement(const AgeingCriteria& c) {
    const std::string end = sqlLiteral(dayAfter(c.asOf)); // the as-of day ends before it
    const std::string pair = c.byBatch ? "t.cWhCode, t.cInvCode, t.cBatch" : "t.cWhCode, t.cInvCode";
    const std::string batch = c.byBatch ? ", m.cBatch" : "";
    const std::string quantity = "ISNULL(b.iQuantity, 0)";
    const std::string before = "a.dDate < " + end;
    std::vector<std::string> lines = {
        "SELECT m.cWhCode AS 仓库编码, w.cWhName AS 仓库, m.cInvCode AS 存货编码, ",
        "  i.cInvName AS 存货名称, i.cInvStd AS 规格型号, u.cComUnitName AS 计量单位, " +
            std::string(c.byBatch ? "m.cBatch AS 批号, " : ""),
        "  " + rounded("MAX(m.balance)") + " AS 结存数量, ",
        bandColumns(c),
        "  MAX(m.lastReceipt) AS 最近入库日期, MAX(m.lastIssue) AS 最近出库日期, ",
        "  DATEDIFF(day, ISNULL(MAX(m.lastIssue), MAX(m.lastReceipt)), " + sqlLiteral(c.asOf) +
            ") AS 呆滞天数 ",
        "FROM (",
        // Each receipt counts with what the balance still needs after the newer ones.
        "  SELECT r.*, CASE WHEN r.balance - r.newer >= 0 THEN r.received ",
        "    WHEN r.balance - r.newer + r.received > 0 THEN r.balance - r.newer + r.received ",
        "    ELSE 0 END AS counted ",
        "  FROM (",
        "    SELECT t.*, SUM(t.change) OVER (PARTITION BY " + pair + ") AS balance, ",
        "      SUM(t.received) OVER (PARTITION BY " + pair +
            " ORDER BY t.dDate DESC ROWS UNBOUNDED PRECEDING) AS newer ",
        "    FROM (",
        // Today's stock, less what came after the as-of day: the balance at its end.
        // No day: a null takes the lines' datetime (a cast would make SQLite's texts numbers).
        "      SELECT s.cWhCode, s.cInvCode, s.cBatch, NULL AS dDate, ",
        "        CAST(ISNULL(s.iQuantity, 0) AS float) AS change, CAST(0 AS float) AS received, ",
        "        NULL AS lastReceipt, NULL AS lastIssue ",
        "      FROM dbo.CurrentStock s ",
        "      UNION ALL ",
        "      SELECT a.cWhCode, b.cInvCode, b.cBatch, a.dDate, ",
        "        CAST(CASE WHEN " + before + " THEN 0 WHEN a.bRdFlag = 1 THEN -" + quantity +
            " ELSE " + quantity + " END AS float), ",
        "        CAST(CASE WHEN " + before + " AND a.bRdFlag = 1 THEN " + quantity +
            " ELSE 0 END AS float), ",
        "        CASE WHEN " + before + " AND a.bRdFlag = 1 THEN a.dDate END, ",
        "        CASE WHEN " + before + " AND a.bRdFlag = 0 THEN a.dDate END ",
        "      FROM dbo.rdrecords b INNER JOIN dbo.rdrecord a ON a.ID = b.ID ",
        "    ) t ",
        "  ) r ",
        ") m INNER JOIN dbo.Warehouse w ON w.cWhCode = m.cWhCode ",
        "  INNER JOIN dbo.Inventory i ON i.cInvCode = m.cInvCode ",
        "  INNER JOIN dbo.ComputationUnit u ON u.cComunitCode = i.cComUnitCode ",
        " WHERE (1=1) and ",
    };
    if (!c.warehouseCodes.empty())
        lines.push_back(" m.cWhCode in(" + quotedCodeList(c.warehouseCodes) + ") and ");
    lines.push_back(criterionLine(c.itemCode, "'='' or m.cInvCode like '", "' ) and "));
    lines.push_back(criterionLine(c.addCode, "'='' or i.cInvAddCode like '", "' ) and "));
    lines.push_back(criterionLine(c.spec, "'='' or i.cInvStd like '", "' ) and "));
    lines.push_back(criterionLine(c.name, "'='' or i.cInvName like '", "' ) "));
    lines.push_back(" GROUP BY m.cWhCode, w.cWhName, m.cInvCode, i.cInvName, i.cInvStd, "
                    "u.cComUnitName" +
                    batch + " ");
    lines.push_back(" HAVING " + rounded("MAX(m.balance)") + " <> 0 ");
    lines.push_back(" ORDER BY m.cWhCode, m.cInvCode" + batch);
    return lines;
}
