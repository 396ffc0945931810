// The period summary on the demo, against the raw tables added up in plain loops, its own
// identities, and the same statement through FreeTDS to the TDS stand-in.
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "db/sqlite/SqliteBackend.h"
#include "demo/Today.h"
#include "ledger/CalendarDays.h"
#include "ledger/PeriodSummaryColumns.h"
#include "ledger/PeriodSummaryQuery.h"
#include "result/DateTime.h"
#include "support/DemoDatabasePath.h"
#include "support/LedgerTestParts.h"
#include "support/SameCells.h"
#include "support/tds/ErpTdsResponder.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Key = std::tuple<std::string, std::string, std::string>; // warehouse, item, batch
// opening, receipts, issues, closing, receipt amount, issue amount
using Figures = std::array<double, 6>;

// The summary worked out from the raw tables apart from the statement: the stock now, then
// each line on or after the period's first day, kept where the warehouse, the item and its
// unit exist, as the windows keep them.
std::map<Key, Figures> rawSummary(const std::string& from, const std::string& to, bool byBatch) {
    const RawTables raw;
    const auto rows = [&raw](const char* sql, const std::function<void(sqlite3_stmt*)>& each) {
        raw.rows(sql, each);
    };
    const auto textAt = &RawTables::textAt;
    const ShownPairs kept(raw);
    std::map<Key, Figures> sums;
    const auto keyOf = [&](sqlite3_stmt* r) {
        return Key{textAt(r, 0), textAt(r, 1), byBatch ? textAt(r, 2) : ""};
    };
    rows("select cWhCode, cInvCode, cBatch, iQuantity from CurrentStock", [&](sqlite3_stmt* r) {
        if (kept(textAt(r, 0), textAt(r, 1)))
            sums[keyOf(r)][3] += sqlite3_column_double(r, 3);
    });
    const std::string end = dayAfter(to);
    rows("select a.cWhCode, b.cInvCode, b.cBatch, b.iQuantity, b.iPrice, a.bRdFlag, a.dDate "
         "from rdrecords b join rdrecord a on a.ID = b.ID",
         [&](sqlite3_stmt* r) {
             const std::string day = textAt(r, 6);
             if (day < from || !kept(textAt(r, 0), textAt(r, 1)))
                 return;
             Figures& f = sums[keyOf(r)];
             const bool receipt = sqlite3_column_int(r, 5) == 1;
             const double quantity = sqlite3_column_double(r, 3);
             if (day >= end) { // after the period: back out of today's stock
                 f[3] += receipt ? -quantity : quantity;
                 return;
             }
             f[receipt ? 1 : 2] += quantity;
             f[receipt ? 4 : 5] += sqlite3_column_double(r, 4);
         });
    for (auto it = sums.begin(); it != sums.end();) {
        Figures& f = it->second;
        f[0] = f[3] - f[1] + f[2];
        // Nothing, to the millionth that quantities are kept in.
        const auto none = [](double x) { return std::abs(x) < 5e-7; };
        const bool nothing = none(f[0]) && none(f[1]) && none(f[2]) && none(f[3]);
        it = nothing ? sums.erase(it) : std::next(it);
    }
    return sums;
}

// The statement's rows by warehouse, item and batch.
std::map<Key, Figures> summaryRows(Connection& connection, const PeriodSummaryCriteria& c) {
    ResultQuery rows = openedQuery(connection, periodSummaryQuery(c.byBatch), c);
    std::map<Key, Figures> found;
    const auto text = [&](const char* field, std::size_t row) {
        return std::string(rows.result().column(rows.fieldIndex(field)).text(row));
    };
    const auto number = [&](const char* field, std::size_t row) {
        const ResultColumn& column = rows.result().column(rows.fieldIndex(field));
        if (column.isNull(row))
            return 0.0;
        return column.kind() == FieldKind::Double ? column.real(row)
                                                  : static_cast<double>(column.integer(row)) / 1e4;
    };
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        const Key key{text("仓库编码", row), text("存货编码", row),
                      c.byBatch ? text("批号", row) : ""};
        EXPECT_FALSE(found.count(key)) << "one row per warehouse, item and batch";
        found[key] = {number("期初数量", row), number("入库数量", row), number("出库数量", row),
                      number("期末数量", row), number("入库金额", row), number("出库金额", row)};
    }
    return found;
}

PeriodSummaryCriteria period(const std::string& from, const std::string& to, bool byBatch = false) {
    PeriodSummaryCriteria criteria;
    criteria.dateFrom = from;
    criteria.dateTo = to;
    criteria.byBatch = byBatch;
    return criteria;
}

} // namespace

TEST(PeriodSummary, AgreesRowByRowWithTheRawTablesAddedUpAndBalancesOnEveryRow) {
    OnDemo demo;
    Connection& connection = demo.connection;
    for (const bool byBatch : {false, true}) {
        const PeriodSummaryCriteria c = period("2026-06-01", "2026-08-31", byBatch);
        const std::map<Key, Figures> rows = summaryRows(connection, c);
        const std::map<Key, Figures> raw = rawSummary(c.dateFrom, c.dateTo, byBatch);
        ASSERT_GT(rows.size(), 1000U);
        ASSERT_EQ(rows.size(), raw.size()) << byBatch;
        for (const auto& [key, figures] : rows) {
            const auto other = raw.find(key);
            ASSERT_NE(other, raw.end()) << std::get<0>(key) << " " << std::get<1>(key);
            for (std::size_t k = 0; k < figures.size(); ++k)
                EXPECT_TRUE(nearlyEqual(figures[k], other->second[k]))
                    << std::get<0>(key) << " " << std::get<1>(key) << " figure " << k << ": "
                    << figures[k] << " against " << other->second[k];
            // 期初 + 入库 − 出库 = 期末 on every row.
            EXPECT_TRUE(nearlyEqual(figures[0] + figures[1] - figures[2], figures[3]));
        }
    }
}

TEST(PeriodSummary, APeriodEndingTodayClosesOnTheStockAndOpensOnThePeriodBefore) {
    OnDemo demo;
    Connection& connection = demo.connection;
    const std::string now = todayText();
    const std::map<Key, Figures> toToday = summaryRows(connection, period("2026-11-01", now));
    // Ending today: the closing balances are today's stock of each warehouse and item.
    const std::map<Key, Figures> stockOnly = rawSummary(dayAfter(now), now, false);
    std::size_t stocked = 0;
    for (const auto& [key, figures] : stockOnly) {
        const auto row = toToday.find(key);
        const double closing = row == toToday.end() ? 0.0 : row->second[3];
        EXPECT_TRUE(nearlyEqual(closing, figures[3]))
            << std::get<0>(key) << " " << std::get<1>(key);
        stocked += figures[3] != 0;
    }
    EXPECT_GT(stocked, 1000U);
    // The opening of November is the closing of the months before it.
    const std::map<Key, Figures> before =
        summaryRows(connection, period("2024-01-01", "2026-10-31"));
    for (const auto& [key, figures] : toToday) {
        const auto earlier = before.find(key);
        EXPECT_TRUE(nearlyEqual(figures[0], earlier == before.end() ? 0.0 : earlier->second[3]))
            << std::get<0>(key) << " " << std::get<1>(key);
    }
}

TEST(PeriodSummary, TheStatementAnswersThroughFreeTdsAsOnTheDemo) {
    TdsServer server{ErpTdsResponder(demoDatabasePath())};
    Connection overTds;
    overTds.setSettings({server.address(), "erp_2026", "reader", "pw"});
    overTds.open();
    for (const bool byBatch : {false, true}) {
        PeriodSummaryCriteria c = period("2026-01-01", "2026-06-30", byBatch);
        c.warehouseCodes = {"01", "03"};
        c.name = "轴承";
        const auto& query = periodSummaryQuery(byBatch);
        const std::string text = joinedStatement(query.statement(c));
        const ResultSet rows = overTds.fetchAll(text, query.shape.fields);
        EXPECT_EQ(server.batches().back(), text);
        EXPECT_GT(rows.rowCount(), 10U);
        expectSameCells(rows, SqliteBackend(demoDatabasePath()).fetchAll(text, query.shape.fields));
    }
}

TEST(PeriodSummary, TheDayAfterAndDaysBeforeCrossMonthsYearsAndLeapDays) {
    EXPECT_EQ(dayAfter("2026-12-09"), "2026-12-10");
    EXPECT_EQ(dayAfter("2026-01-31"), "2026-02-01");
    EXPECT_EQ(dayAfter("2024-02-28"), "2024-02-29");
    EXPECT_EQ(dayAfter("2026-02-28"), "2026-03-01");
    EXPECT_EQ(dayAfter("2026-12-31"), "2027-01-01");
    EXPECT_EQ(dayAfter("9999-12-31"), "9999-12-31 23:59:59.997"); // still a date on both sides
    // And back, as far as a server's datetime goes.
    EXPECT_EQ(daysBefore("2024-03-01", 1), "2024-02-29");
    EXPECT_EQ(daysBefore("2027-01-10", 365), "2026-01-10");
    EXPECT_EQ(daysBefore("2026-12-10", 0), "2026-12-10");
    EXPECT_EQ(daysBefore("1754-01-05", 400), "1753-01-01");
    EXPECT_EQ(daysBefore("2026-12-10", 36500), "1927-01-04");
}
