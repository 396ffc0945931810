// The demo's stock is what its documents booked: for every warehouse, item and batch, the
// current stock is the receipts less the issues, the opening document before the history
// included; on the default demo and on the large one.
#include "demo_db/DemoDatabase.h"
#include "support/DemoDatabasePath.h"
#include "support/LedgerTestParts.h"
#include "support/TempDir.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The warehouse, item and batch groups where the stock and the lines disagree, either way
// round, among the warehouses and items that exist; and how many groups hold stock.
std::pair<long long, long long> disagreeingAndStocked(const std::string& file) {
    const char* groups =
        "with stock as (select s.cWhCode w, s.cInvCode i, ifnull(s.cBatch, '-') b, "
        "  total(s.iQuantity) q from CurrentStock s group by 1, 2, 3), "
        "lines as (select a.cWhCode w, b.cInvCode i, ifnull(b.cBatch, '-') b, "
        "  total(case when a.bRdFlag = 1 then b.iQuantity else -b.iQuantity end) q "
        "  from rdrecords b join rdrecord a on a.ID = b.ID "
        "  where a.cWhCode in (select cWhCode from Warehouse) "
        "    and b.cInvCode in (select cInvCode from Inventory) group by 1, 2, 3), "
        "both as (select w, i, b, q, 0.0 l from stock union all select w, i, b, 0.0, q from lines) "
        "select (select count(*) from (select w, i, b from both group by 1, 2, 3 "
        "  having abs(sum(q) - sum(l)) > 5e-7)), "
        "  (select count(*) from stock where q > 0)";
    std::pair<long long, long long> found{-1, -1};
    RawTables(file).rows(groups, [&](sqlite3_stmt* row) {
        found = {sqlite3_column_int64(row, 0), sqlite3_column_int64(row, 1)};
    });
    return found;
}

} // namespace

TEST(DemoBalance, EveryStockIsItsReceiptsLessItsIssuesOnTheDefaultAndTheLargeDemo) {
    const auto [disagreeing, stocked] = disagreeingAndStocked(demoDatabasePath());
    EXPECT_EQ(disagreeing, 0);
    EXPECT_GT(stocked, 20000);
    TempDir folder;
    const std::string large = (folder / "large.sqlite").string();
    generateDemoDatabase(large, kLargeDemoSize, kDemoSeed, localToday());
    const auto [largeDisagreeing, largeStocked] = disagreeingAndStocked(large);
    EXPECT_EQ(largeDisagreeing, 0);
    EXPECT_GT(largeStocked, 500000);
}
