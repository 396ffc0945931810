#include "table/FooterSums.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "support/SqliteFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(FooterSums, EachAdditionRoundsHalfToEven) {
    EXPECT_EQ(FooterSums::added(0, 0.03125), 312);
    EXPECT_EQ(FooterSums::added(1, 0.03125), 314);
    EXPECT_EQ(FooterSums::added(0, -0.03125), -312);
    EXPECT_EQ(FooterSums::added(125000, 0.00004), 125000);
    EXPECT_EQ(FooterSums::added(INT64_MAX - 10, 1e6), INT64_MAX);
    EXPECT_EQ(FooterSums::added(INT64_MIN + 10, -1e6), INT64_MIN);
}

TEST(FooterSums, OnePassOverAnOpenQueryNullsAddNothingAndTheCursorEndsOnTheFirstRow) {
    TempDir dir;
    const std::string file = (dir / "sums.sqlite").string();
    runOnSqliteFile(file, "CREATE TABLE t (id INTEGER, a FLOAT, b FLOAT, c NVARCHAR(5));"
                          "INSERT INTO t VALUES (1, 0.03125, NULL, 'x'), (2, 0.00015, NULL, 'y'),"
                          " (3, NULL, NULL, 'z'), (4, 2.5, NULL, NULL)");
    Connection connection;
    openSqliteFile(connection, file);
    ResultQuery query(connection);
    query.appendLine("select * from t order by id");
    FooterSums sums({"a", "b", "c", "missing"});
    sums.recompute(query); // closed: all zero
    EXPECT_EQ(sums.total(0), 0);
    query.open();
    query.moveBy(3);
    sums.recompute(query);
    // 0.03125 -> 312 (tie to even), + 1.5 -> 313.5 -> 314, + 25000
    EXPECT_EQ(sums.total(0), 25314);
    EXPECT_EQ(sums.total(1), 0); // all nulls
    EXPECT_EQ(sums.total(2), 0); // text adds as 0
    EXPECT_EQ(sums.total(3), 0);
    EXPECT_EQ(query.position(), 0U);
    sums.clear();
    EXPECT_EQ(sums.total(0), 0);
}
