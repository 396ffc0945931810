// The stock ageing on the demo against first in, first out worked out by hand from the raw
// tables, its identities with the stock and the summary, and the statement through FreeTDS.
#include "db/sqlite/SqliteBackend.h"
#include "ledger/AgeingQuery.h"
#include "ledger/CalendarDays.h"
#include "ledger/PeriodSummaryQuery.h"
#include "result/DateTime.h"
#include "support/DemoDatabasePath.h"
#include "support/LedgerTestParts.h"
#include "support/SameCells.h"
#include "support/tds/ErpTdsResponder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Key = std::tuple<std::string, std::string, std::optional<std::string>>; // warehouse,
                                                                              // item, batch

// One row of the ageing, as the statement gives it or as worked out by hand.
struct AgedStock {
    double balance = 0;
    std::vector<double> bands;
    std::string lastReceipt; // yyyy-mm-dd hh:mm:ss, or empty
    std::string lastIssue;
    std::optional<long long> idleDays;
};

long long dayNumber(const std::string& day) {
    const CivilDateTime date = parseIsoDateTime(day.substr(0, 10)).value_or(CivilDateTime{});
    return toEpochMilliseconds({date.year, date.month, date.day}) / kMillisecondsPerDay;
}

// The ageing worked out from the raw tables in plain loops: the balance at the end of the day
// as the stock less what came after, then the receipts up to that day newest first, each
// taking what the balance still needs, the rest in the oldest band.
std::map<Key, AgedStock> rawAgeing(const AgeingCriteria& c) {
    const RawTables raw;
    const ShownPairs kept(raw);
    struct Receipt {
        std::string day;
        double quantity;
    };
    std::map<Key, AgedStock> found;
    std::map<Key, std::vector<Receipt>> receipts;
    const auto keyOf = [&](sqlite3_stmt* r) {
        std::optional<std::string> batch;
        if (c.byBatch && sqlite3_column_type(r, 2) != SQLITE_NULL)
            batch = RawTables::textAt(r, 2);
        return Key{RawTables::textAt(r, 0), RawTables::textAt(r, 1),
                   c.byBatch ? std::optional(batch.value_or("\x01null")) : std::nullopt};
    };
    raw.rows("select cWhCode, cInvCode, cBatch, iQuantity from CurrentStock", [&](sqlite3_stmt* r) {
        if (kept(RawTables::textAt(r, 0), RawTables::textAt(r, 1)))
            found[keyOf(r)].balance += sqlite3_column_double(r, 3);
    });
    const std::string end = dayAfter(c.asOf);
    raw.rows("select a.cWhCode, b.cInvCode, b.cBatch, b.iQuantity, a.bRdFlag, a.dDate "
             "from rdrecords b join rdrecord a on a.ID = b.ID",
             [&](sqlite3_stmt* r) {
                 if (!kept(RawTables::textAt(r, 0), RawTables::textAt(r, 1)))
                     return;
                 const std::string day = RawTables::textAt(r, 5);
                 const bool receipt = sqlite3_column_int(r, 4) == 1;
                 const double quantity = sqlite3_column_double(r, 3);
                 AgedStock& aged = found[keyOf(r)];
                 if (day >= end) {
                     aged.balance += receipt ? -quantity : quantity;
                     return;
                 }
                 std::string& last = receipt ? aged.lastReceipt : aged.lastIssue;
                 last = std::max(last, day);
                 if (receipt)
                     receipts[keyOf(r)].push_back({day, quantity});
             });
    for (auto it = found.begin(); it != found.end();) {
        AgedStock& aged = it->second;
        if (std::abs(aged.balance) < 5e-7) {
            it = found.erase(it);
            continue;
        }
        aged.bands.assign(c.bands.size() + 1, 0.0);
        std::vector<Receipt>& mine = receipts[it->first];
        std::sort(mine.begin(), mine.end(),
                  [](const Receipt& a, const Receipt& b) { return a.day > b.day; });
        double needed = std::max(0.0, aged.balance);
        for (const Receipt& receipt : mine) {
            const long long age = dayNumber(c.asOf) - dayNumber(receipt.day);
            const std::size_t band = static_cast<std::size_t>(
                std::lower_bound(c.bands.begin(), c.bands.end(), age) - c.bands.begin());
            const double taken = std::min(needed, receipt.quantity);
            aged.bands[band] += taken;
            needed -= taken;
        }
        aged.bands.back() += needed;
        const std::string& idleSince = aged.lastIssue.empty() ? aged.lastReceipt : aged.lastIssue;
        if (!idleSince.empty())
            aged.idleDays = dayNumber(c.asOf) - dayNumber(idleSince);
        ++it;
    }
    return found;
}

// The statement's rows by warehouse, item and batch.
std::map<Key, AgedStock> ageingRows(const ResultSet& rows, const AgeingCriteria& c) {
    const auto column = [&](const std::string& field) -> const ResultColumn& {
        for (std::size_t k = 0; k < rows.columnCount(); ++k)
            if (rows.column(k).name() == field)
                return rows.column(k);
        throw std::out_of_range(field);
    };
    const auto day = [&](const char* field, std::size_t row) {
        const ResultColumn& dates = column(field);
        if (dates.isNull(row))
            return std::string();
        const CivilDateTime d = fromEpochMilliseconds(dates.integer(row));
        char text[40];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
        std::string shown = text;
        if (hasTimeOfDay(dates.integer(row))) {
            std::snprintf(text, sizeof text, " %02d:%02d:%02d", d.hour, d.minute, d.second);
            shown += text;
        }
        return shown;
    };
    const std::vector<std::string> titles = ageingBandTitles(c.bands);
    std::map<Key, AgedStock> found;
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        std::optional<std::string> batch;
        if (c.byBatch)
            batch = column("批号").isNull(row) ? "\x01null" : std::string(column("批号").text(row));
        const Key key{std::string(column("仓库编码").text(row)),
                      std::string(column("存货编码").text(row)), batch};
        EXPECT_FALSE(found.count(key)) << "one row per warehouse, item and batch";
        AgedStock& aged = found[key];
        aged.balance = column("结存数量").real(row);
        for (const std::string& title : titles)
            aged.bands.push_back(column(title).real(row));
        aged.lastReceipt = day("最近入库日期", row);
        aged.lastIssue = day("最近出库日期", row);
        if (!column("呆滞天数").isNull(row))
            aged.idleDays = column("呆滞天数").integer(row);
    }
    return found;
}

ResultSet ageingResult(Connection& connection, const AgeingCriteria& c) {
    const auto& query = ageingQuery(c.bands, c.byBatch);
    return connection.fetchAll(joinedStatement(query.statement(c)), query.shape.fields);
}

AgeingCriteria asOf(const std::string& day, bool byBatch) {
    AgeingCriteria c;
    c.asOf = day;
    c.byBatch = byBatch;
    return c;
}

std::string keyText(const Key& key) {
    return std::get<0>(key) + " " + std::get<1>(key) + " " + std::get<2>(key).value_or("");
}

} // namespace

TEST(Ageing, AgreesRowByRowWithFirstInFirstOutWorkedOutByHand) {
    OnDemo demo;
    const std::string yearBack = daysBefore(todayText(), 365);
    for (const std::string& day : {todayText(), yearBack})
        for (const bool byBatch : {false, true}) {
            AgeingCriteria c = asOf(day, byBatch);
            // Some warehouses alone, once: the others' rows go, and nothing else changes.
            if (byBatch && day == yearBack)
                c.warehouseCodes = {"01", "03"};
            const std::map<Key, AgedStock> rows = ageingRows(ageingResult(demo.connection, c), c);
            std::map<Key, AgedStock> raw = rawAgeing(c);
            std::erase_if(raw, [&](const auto& entry) {
                return !c.warehouseCodes.empty() &&
                       std::find(c.warehouseCodes.begin(), c.warehouseCodes.end(),
                                 std::get<0>(entry.first)) == c.warehouseCodes.end();
            });
            ASSERT_GT(rows.size(), 1000U);
            ASSERT_EQ(rows.size(), raw.size()) << day << " " << byBatch;
            for (const auto& [key, aged] : rows) {
                const auto other = raw.find(key);
                ASSERT_NE(other, raw.end()) << keyText(key);
                const AgedStock& byHand = other->second;
                EXPECT_TRUE(nearlyEqual(aged.balance, byHand.balance)) << keyText(key);
                ASSERT_EQ(aged.bands.size(), byHand.bands.size());
                for (std::size_t k = 0; k < aged.bands.size(); ++k)
                    EXPECT_TRUE(nearlyEqual(aged.bands[k], byHand.bands[k]))
                        << keyText(key) << " band " << k << ": " << aged.bands[k] << " against "
                        << byHand.bands[k];
                EXPECT_EQ(aged.lastReceipt, byHand.lastReceipt) << keyText(key);
                EXPECT_EQ(aged.lastIssue, byHand.lastIssue) << keyText(key);
                EXPECT_EQ(aged.idleDays, byHand.idleDays) << keyText(key);
            }
        }
}

TEST(Ageing, TheBalancesAreTheStockTodayAndTheSummarysClosingOnAnEarlierDay) {
    OnDemo demo;
    for (const std::string& day : {todayText(), std::string("2026-06-30")})
        for (const bool byBatch : {false, true}) {
            const AgeingCriteria c = asOf(day, byBatch);
            const std::map<Key, AgedStock> rows = ageingRows(ageingResult(demo.connection, c), c);
            PeriodSummaryCriteria period;
            period.dateFrom = period.dateTo = day;
            period.byBatch = byBatch;
            const auto& summary = periodSummaryQuery(byBatch);
            ResultQuery closing = openedQuery(demo.connection, summary, period);
            const ResultSet& sums = closing.result();
            const auto at = [&](const char* field) -> const ResultColumn& {
                return sums.column(closing.fieldIndex(field));
            };
            std::size_t stocked = 0;
            for (std::size_t row = 0; row < sums.rowCount(); ++row) {
                const double balance = at("期末数量").real(row);
                if (balance == 0)
                    continue;
                ++stocked;
                std::optional<std::string> batch;
                if (byBatch)
                    batch = at("批号").isNull(row) ? "\x01null" : std::string(at("批号").text(row));
                const Key key{std::string(at("仓库编码").text(row)),
                              std::string(at("存货编码").text(row)), batch};
                const auto aged = rows.find(key);
                ASSERT_NE(aged, rows.end()) << keyText(key);
                EXPECT_TRUE(nearlyEqual(aged->second.balance, balance)) << keyText(key);
            }
            EXPECT_EQ(stocked, rows.size()) << day << " " << byBatch;
            // The bands add up to a balance that is not below nothing, and a balance below
            // nothing fills none.
            std::size_t below = 0;
            for (const auto& [key, aged] : rows) {
                double banded = 0;
                for (const double band : aged.bands)
                    banded += band;
                below += aged.balance < 0;
                EXPECT_TRUE(nearlyEqual(banded, std::max(0.0, aged.balance))) << keyText(key);
            }
            EXPECT_GT(below, 10U);
            // Stock of every age: each band holds some, and some has lain untouched since it
            // came, some for longer than the records go back.
            std::vector<std::size_t> holding(c.bands.size() + 1);
            std::size_t untouched = 0, older = 0;
            for (const auto& [key, aged] : rows) {
                for (std::size_t k = 0; k < aged.bands.size(); ++k)
                    holding[k] += aged.bands[k] > 0;
                untouched += aged.lastIssue.empty() && aged.idleDays > 365;
                older += aged.balance > 0 && aged.lastReceipt.empty();
            }
            for (const std::size_t rowsOfBand : holding)
                EXPECT_GT(rowsOfBand, 10U) << day;
            EXPECT_GT(untouched, 10U) << day;
            EXPECT_GT(older, 10U) << day;
        }
}

TEST(Ageing, TheStatementAnswersThroughFreeTdsAsOnTheDemo) {
    TdsServer server{ErpTdsResponder(demoDatabasePath())};
    Connection overTds;
    overTds.setSettings({server.address(), "erp_2026", "reader", "pw"});
    overTds.open();
    for (const bool byBatch : {false, true}) {
        AgeingCriteria c = asOf("2026-09-30", byBatch);
        c.bands = {7, 45, 400};
        c.warehouseCodes = {"01", "03"};
        c.name = "轴承";
        const auto& query = ageingQuery(c.bands, byBatch);
        const std::string text = joinedStatement(query.statement(c));
        const ResultSet rows = overTds.fetchAll(text, query.shape.fields);
        EXPECT_EQ(server.batches().back(), text);
        EXPECT_GT(rows.rowCount(), 10U);
        expectSameCells(rows, SqliteBackend(demoDatabasePath()).fetchAll(text, query.shape.fields));
    }
}

TEST(Ageing, WarehousesAskedForAreSoughtByTheirIndexNotScannedFor) {
    OnDemo demo;
    AgeingCriteria c = asOf(todayText(), false);
    c.warehouseCodes = {"02"};
    const ResultSet plan =
        demo.connection.fetchAll("EXPLAIN QUERY PLAN " + joinedStatement(ageingStatement(c)), {});
    std::string steps;
    for (std::size_t row = 0; row < plan.rowCount(); ++row)
        steps += std::string(plan.column(3).text(row)) + "\n";
    EXPECT_NE(steps.find("SEARCH a USING INDEX rdrecord_cWhCode_dDate (cWhCode=?)"),
              std::string::npos)
        << steps;
    EXPECT_NE(steps.find("SEARCH b USING INDEX rdrecords_ID (ID=?)"), std::string::npos) << steps;
}
