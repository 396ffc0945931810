// The demo's stock is what its documents booked: for every warehouse, item and batch, the
// current stock is the receipts less the issues, the opening document before the history
// included; on the default demo and on the large one. Only the stock carried over without a
// document is more, and some stock issued before it was received is below nothing.
#include "demo/DemoDatabase.h"
#include "support/DemoDatabasePath.h"
#include "support/LedgerTestParts.h"
#include "support/TempDir.h"
#include "support/UnderSanitizers.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Groups {
    long long disagreeing = -1; // the stock and the lines disagree, either way round
    long long stocked = -1;     // the stock is more than nothing
    long long carriedOver = -1; // the stock is more than the lines, and says so
    long long below = -1;       // the stock is less than nothing
};

// The warehouse, item and batch groups among the warehouses and items that exist.
Groups groupsOf(const std::string& file) {
    const std::string groups =
        "with stock as (select s.cWhCode w, s.cInvCode i, ifnull(s.cBatch, '-') b, "
        "  total(s.iQuantity) q, max(s.cFree1 = '" +
        std::string(kCarriedOverRemark) +
        "') c from CurrentStock s group by 1, 2, 3), "
        "lines as (select a.cWhCode w, b.cInvCode i, ifnull(b.cBatch, '-') b, "
        "  total(case when a.bRdFlag = 1 then b.iQuantity else -b.iQuantity end) q "
        "  from rdrecords b join rdrecord a on a.ID = b.ID "
        "  where a.cWhCode in (select cWhCode from Warehouse) "
        "    and b.cInvCode in (select cInvCode from Inventory) group by 1, 2, 3), "
        "both as (select w, i, b, q, 0.0 l, c from stock "
        "  union all select w, i, b, 0.0, q, 0 from lines), "
        "sums as (select sum(q) q, sum(l) l, max(c) c from both group by w, i, b) "
        "select (select count(*) from sums where c = 0 and abs(q - l) > 5e-7), "
        "  (select count(*) from stock where q > 0), "
        "  (select count(*) from sums where c = 1 and q > l + 5e-7), "
        "  (select count(*) from stock where q < 0)";
    Groups found;
    RawTables(file).rows(groups, [&](sqlite3_stmt* row) {
        found = {sqlite3_column_int64(row, 0), sqlite3_column_int64(row, 1),
                 sqlite3_column_int64(row, 2), sqlite3_column_int64(row, 3)};
    });
    return found;
}

} // namespace

TEST(DemoBalance, EveryStockIsItsReceiptsLessItsIssuesButTheCarriedOver) {
    const Groups demo = groupsOf(demoDatabasePath());
    EXPECT_EQ(demo.disagreeing, 0);
    EXPECT_GT(demo.stocked, 20000);
    EXPECT_GT(demo.carriedOver, 100);
    EXPECT_GT(demo.below, 50);
}

TEST(DemoBalance, TheLargeDemoBalancesToo) {
    // Made under the sanitizers the large demo takes minutes; its code is the default demo's,
    // which they see above.
    if (kUnderSanitizers)
        GTEST_SKIP() << "the large demo is checked in the released build";
    TempDir folder;
    const std::string large = (folder / "large.sqlite").string();
    generateDemoDatabase(large, kLargeDemoSize, kDemoSeed, localToday());
    const Groups largeDemo = groupsOf(large);
    EXPECT_EQ(largeDemo.disagreeing, 0);
    EXPECT_GT(largeDemo.stocked, 500000);
}
