// The stock card on the demo: its lines are the item's lines in the warehouse in booking
// order, every balance is the one before plus the receipt less the issue, and it closes where
// the period summary closes (on today's stock when it ends today); through FreeTDS the same.
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "db/sqlite/SqliteBackend.h"
#include "demo/Today.h"
#include "ledger/CalendarDays.h"
#include "ledger/PeriodSummaryQuery.h"
#include "ledger/StockCardQuery.h"
#include "support/DemoDatabasePath.h"
#include "support/LedgerTestParts.h"
#include "support/SameCells.h"
#include "support/tds/ErpTdsResponder.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Pair {
    std::string warehouse;
    std::string item;
    int lines; // booked from the period's first day up to its end
};

// From the raw tables: the warehouse and item pairs with the most lines in the period, and the
// stock of a pair now.
std::vector<Pair> busiestPairs(const std::string& from, const std::string& to, int count) {
    std::vector<Pair> pairs;
    RawTables().rows("select a.cWhCode, b.cInvCode, count(*) from rdrecords b join rdrecord a "
                     "on a.ID = b.ID join Warehouse w on w.cWhCode = a.cWhCode where a.dDate >= '" +
                         from + "' and a.dDate < '" + dayAfter(to) +
                         "' group by 1, 2 order by 3 desc, 1, 2 limit " + std::to_string(count),
                     [&](sqlite3_stmt* row) {
                         pairs.push_back({RawTables::textAt(row, 0), RawTables::textAt(row, 1),
                                          sqlite3_column_int(row, 2)});
                     });
    return pairs;
}

double rawStockNow(const Pair& pair) {
    double stock = 0;
    RawTables().rows("select total(iQuantity) from CurrentStock where cWhCode = '" +
                         pair.warehouse + "' and cInvCode = '" + pair.item + "'",
                     [&](sqlite3_stmt* row) { stock = sqlite3_column_double(row, 0); });
    return stock;
}

struct Card {
    std::vector<std::string> summaries;
    std::vector<double> receipts, issues, balances;
    std::vector<std::int64_t> days;
};

Card cardOf(Connection& connection, const StockCardCriteria& criteria) {
    ResultQuery rows = openedQuery(connection, stockCardQuery(), criteria);
    Card card;
    const ResultSet& r = rows.result();
    const auto column = [&](const char* field) -> const ResultColumn& {
        return r.column(rows.fieldIndex(field));
    };
    const auto number = [](const ResultColumn& c, std::size_t row) {
        return c.isNull(row) ? 0.0 : c.real(row);
    };
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        card.summaries.emplace_back(column("摘要").text(row));
        card.receipts.push_back(number(column("入库数量"), row));
        card.issues.push_back(number(column("出库数量"), row));
        card.balances.push_back(number(column("结存数量"), row));
        card.days.push_back(column("单据日期").isNull(row) ? 0 : column("单据日期").integer(row));
    }
    return card;
}

// The summary's closing balance of one warehouse and item.
double summaryClosing(Connection& connection, const Pair& pair, const std::string& from,
                      const std::string& to) {
    PeriodSummaryCriteria criteria;
    criteria.warehouseCodes = {pair.warehouse};
    criteria.itemCode = pair.item;
    criteria.dateFrom = from;
    criteria.dateTo = to;
    ResultQuery rows = openedQuery(connection, periodSummaryQuery(false), criteria);
    for (std::size_t row = 0; row < rows.rowCount(); ++row)
        if (rows.result().column(rows.fieldIndex("存货编码")).text(row) == pair.item)
            return rows.result().column(rows.fieldIndex("期末数量")).real(row);
    return 0;
}

StockCardCriteria cardCriteria(const Pair& pair, const std::string& from, const std::string& to) {
    StockCardCriteria criteria;
    criteria.warehouseCode = pair.warehouse;
    criteria.itemCode = pair.item;
    criteria.dateFrom = from;
    criteria.dateTo = to;
    return criteria;
}

} // namespace

TEST(StockCard, EveryLineBalancesOnTheOneBeforeAndTheCardClosesWhereTheSummaryCloses) {
    OnDemo demo;
    Connection& connection = demo.connection;
    const std::string now = todayText();
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"2025-07-01", "2026-03-31"}, {"2026-01-01", now}}) {
        const std::vector<Pair> pairs = busiestPairs(from, to, 5);
        ASSERT_EQ(pairs.size(), 5U);
        for (const Pair& pair : pairs) {
            SCOPED_TRACE(pair.warehouse + " " + pair.item + " " + from + " " + to);
            const Card card = cardOf(connection, cardCriteria(pair, from, to));
            ASSERT_EQ(card.summaries.size(), std::size_t(pair.lines) + 2);
            EXPECT_EQ(card.summaries.front(), "期初结存");
            EXPECT_EQ(card.summaries.back(), "期末结存");
            for (std::size_t row = 1; row + 1 < card.balances.size(); ++row) {
                EXPECT_TRUE(
                    nearlyEqual(card.balances[row],
                                card.balances[row - 1] + card.receipts[row] - card.issues[row]))
                    << "line " << row;
                if (row > 1) { // booking order
                    EXPECT_GE(card.days[row], card.days[row - 1]);
                }
            }
            EXPECT_TRUE(nearlyEqual(card.balances.back(), card.balances[card.balances.size() - 2]));
            EXPECT_TRUE(
                nearlyEqual(card.balances.back(), summaryClosing(connection, pair, from, to)));
            if (to == now) { // ending today: on the stock now
                EXPECT_TRUE(nearlyEqual(card.balances.back(), rawStockNow(pair)));
            }
        }
    }
}

TEST(StockCard, NoBatchMeansTheRecordsWithoutOneAndClosesOnTheirStock) {
    OnDemo demo;
    const std::string from = "2026-01-01", to = todayText();
    // The pair with the most lines without a batch this year, and its stock without one.
    Pair pair;
    RawTables().rows("select a.cWhCode, b.cInvCode, count(*) from rdrecords b join rdrecord a "
                     "on a.ID = b.ID where (b.cBatch is null or b.cBatch = '') and a.dDate >= '" +
                         from + "' group by 1, 2 order by 3 desc, 1, 2 limit 1",
                     [&](sqlite3_stmt* row) {
                         pair = {RawTables::textAt(row, 0), RawTables::textAt(row, 1),
                                 sqlite3_column_int(row, 2)};
                     });
    ASSERT_GT(pair.lines, 0);
    double stockWithoutBatch = 0;
    RawTables().rows("select total(iQuantity) from CurrentStock where cWhCode = '" +
                         pair.warehouse + "' and cInvCode = '" + pair.item +
                         "' and (cBatch is null or cBatch = '')",
                     [&](sqlite3_stmt* row) { stockWithoutBatch = sqlite3_column_double(row, 0); });
    StockCardCriteria criteria = cardCriteria(pair, from, to);
    criteria.batch = "";
    const Card card = cardOf(demo.connection, criteria);
    ASSERT_EQ(card.summaries.size(), std::size_t(pair.lines) + 2);
    EXPECT_TRUE(nearlyEqual(card.balances.back(), stockWithoutBatch));
    EXPECT_NE(stockWithoutBatch, 0.0);
}

TEST(StockCard, TheStatementAnswersThroughFreeTdsAsOnTheDemo) {
    TdsServer server{ErpTdsResponder(demoDatabasePath())};
    Connection overTds;
    overTds.setSettings({server.address(), "erp_2026", "reader", "pw"});
    overTds.open();
    const std::vector<Pair> pairs = busiestPairs("2026-01-01", "2026-06-30", 2);
    ASSERT_EQ(pairs.size(), 2U);
    for (const auto& [pair, batch] : {std::pair{pairs[0], std::optional<std::string>()},
                                      std::pair{pairs[1], std::optional<std::string>()},
                                      std::pair{pairs[0], std::optional<std::string>("")}}) {
        StockCardCriteria criteria = cardCriteria(pair, "2026-01-01", "2026-06-30");
        criteria.batch = batch;
        const std::string text = joinedStatement(stockCardQuery().statement(criteria));
        const ResultSet rows = overTds.fetchAll(text, stockCardQuery().shape.fields);
        EXPECT_EQ(server.batches().back(), text);
        if (!batch) {
            EXPECT_EQ(rows.rowCount(), std::size_t(pair.lines) + 2);
        }
        expectSameCells(
            rows, SqliteBackend(demoDatabasePath()).fetchAll(text, stockCardQuery().shape.fields));
    }
}
