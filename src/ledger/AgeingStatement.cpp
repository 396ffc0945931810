#include "AgeingStatement.h"

#include "CalendarDays.h"
#include "result/SqlText.h"

namespace {

// A quantity to the millionth it is kept in (sums of floating-point values leave crumbs such
// as -1.1E-13 where a balance is nothing).
std::string rounded(const std::string& value) {
    return "ROUND(" + value + ", 6)";
}

std::string covered(std::size_t band) {
    return "c.covered" + std::to_string(band);
}

} // namespace

// First in, first out without walking the receipts one by one: the part of a balance B ≥ 0
// that the receipts of the first k bands make is min(B, the receipts of those days), so a band
// holds the difference between what it and the bands before it cover, and the last band what
// no band covers (the stock from before the records too).
std::vector<std::string> ageingStatement(const AgeingCriteria& c) {
    const std::string end = sqlLiteral(dayAfter(c.asOf)); // the as-of day ends before it
    const bool batch = c.byBatch;
    const std::string pair = batch ? "t.cWhCode, t.cInvCode, t.cBatch" : "t.cWhCode, t.cInvCode";
    const std::string quantity = "ISNULL(b.iQuantity, 0)";
    const std::string before = "a.dDate < " + end;
    const std::vector<std::string> titles = ageingBandTitles(c.bands);

    std::vector<std::string> lines = {
        "SELECT c.cWhCode AS 仓库编码, w.cWhName AS 仓库, c.cInvCode AS 存货编码, ",
        "  i.cInvName AS 存货名称, i.cInvStd AS 规格型号, u.cComUnitName AS 计量单位, " +
            std::string(batch ? "c.cBatch AS 批号, " : ""),
        "  " + rounded("c.balance") + " AS 结存数量, ",
    };
    std::string bands = "  ";
    for (std::size_t k = 0; k < c.bands.size(); ++k)
        bands += rounded(covered(k) + (k == 0 ? "" : " - " + covered(k - 1))) + " AS [" +
                 titles[k] + "], ";
    bands +=
        rounded("c.stocked - " + covered(c.bands.size() - 1)) + " AS [" + titles.back() + "], ";
    lines.push_back(bands);
    lines.push_back("  c.lastReceipt AS 最近入库日期, c.lastIssue AS 最近出库日期, ");
    lines.push_back("  DATEDIFF(day, ISNULL(c.lastIssue, c.lastReceipt), " + sqlLiteral(c.asOf) +
                    ") AS 呆滞天数 ");
    // What the receipts of the first bands cover of the balance that is more than nothing.
    std::string cover =
        "  SELECT g.*, CASE WHEN g.balance > 0 THEN g.balance ELSE 0 END AS stocked";
    for (std::size_t k = 0; k < c.bands.size(); ++k) {
        const std::string r = "g.received" + std::to_string(k);
        cover += ", CASE WHEN g.balance <= 0 THEN 0 WHEN " + r + " < g.balance THEN " + r +
                 " ELSE g.balance END AS covered" + std::to_string(k);
    }
    lines.push_back("FROM (");
    lines.push_back(cover + " ");
    lines.push_back("  FROM (");
    // Per pair: the balance at the end of the as-of day, the receipts from each band's first
    // day up to it, and the last receipt and issue up to it.
    lines.push_back("    SELECT " + pair + ", SUM(t.change) AS balance, ");
    std::string received = "     ";
    for (std::size_t k = 0; k < c.bands.size(); ++k)
        received += " SUM(CASE WHEN t.dDate >= " + sqlLiteral(daysBefore(c.asOf, c.bands[k])) +
                    " THEN t.received ELSE 0 END) AS received" + std::to_string(k) + ",";
    lines.push_back(received + " ");
    lines.push_back("      MAX(t.lastReceipt) AS lastReceipt, MAX(t.lastIssue) AS lastIssue ");
    lines.push_back("    FROM (");
    // Only the warehouses asked for are read at all.
    const std::string warehouses =
        c.warehouseCodes.empty() ? "" : " in(" + quotedCodeList(c.warehouseCodes) + ")";
    // Today's stock, less what came after the as-of day: the balance at its end. No day: a
    // null takes the lines' datetime (a cast would make SQLite's texts numbers).
    for (const std::string& line : std::vector<std::string>{
             "      SELECT s.cWhCode, s.cInvCode, s.cBatch, NULL AS dDate, ",
             "        CAST(ISNULL(s.iQuantity, 0) AS float) AS change, CAST(0 AS float) AS "
             "received, ",
             "        NULL AS lastReceipt, NULL AS lastIssue ",
             "      FROM dbo.CurrentStock s " +
                 (warehouses.empty() ? "" : "WHERE s.cWhCode" + warehouses + " "),
             "      UNION ALL ",
             "      SELECT a.cWhCode, b.cInvCode, b.cBatch, a.dDate, ",
             "        CAST(CASE WHEN " + before + " THEN 0 WHEN a.bRdFlag = 1 THEN -" + quantity +
                 " ELSE " + quantity + " END AS float), ",
             "        CAST(CASE WHEN " + before + " AND a.bRdFlag = 1 THEN " + quantity +
                 " ELSE 0 END AS float), ",
             "        CASE WHEN " + before + " AND a.bRdFlag = 1 THEN a.dDate END, ",
             "        CASE WHEN " + before + " AND a.bRdFlag = 0 THEN a.dDate END ",
             "      FROM dbo.rdrecords b INNER JOIN dbo.rdrecord a ON a.ID = b.ID " +
                 (warehouses.empty() ? "" : "WHERE a.cWhCode" + warehouses + " "),
         })
        lines.push_back(line);
    lines.push_back("    ) t GROUP BY " + pair + " ");
    lines.push_back("    HAVING " + rounded("SUM(t.change)") + " <> 0 ");
    lines.push_back("  ) g ");
    lines.push_back(") c INNER JOIN dbo.Warehouse w ON w.cWhCode = c.cWhCode ");
    lines.push_back("  INNER JOIN dbo.Inventory i ON i.cInvCode = c.cInvCode ");
    lines.push_back("  INNER JOIN dbo.ComputationUnit u ON u.cComunitCode = i.cComUnitCode ");
    lines.push_back(" WHERE (1=1) and ");
    lines.push_back(criterionLine(c.itemCode, "'='' or c.cInvCode like '", "' ) and "));
    lines.push_back(criterionLine(c.addCode, "'='' or i.cInvAddCode like '", "' ) and "));
    lines.push_back(criterionLine(c.spec, "'='' or i.cInvStd like '", "' ) and "));
    lines.push_back(criterionLine(c.name, "'='' or i.cInvName like '", "' ) "));
    lines.push_back(" ORDER BY c.cWhCode, c.cInvCode" + std::string(batch ? ", c.cBatch" : ""));
    return lines;
}
