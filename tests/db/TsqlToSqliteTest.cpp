#include "db/sqlite/TsqlToSqlite.h"

#include <gtest/gtest.h>

TEST(TsqlToSqlite, MapsIsnullCallsOutsideLiterals) {
    EXPECT_EQ(tsqlToSqlite("SUM(ISNULL(a, 0))+isnull (b,0)"), "SUM(IFNULL(a, 0))+IFNULL (b,0)");
    EXPECT_EQ(tsqlToSqlite("x IS NULL and ISNULLX(a) and MYISNULL(b) and isnull"),
              "x IS NULL and ISNULLX(a) and MYISNULL(b) and isnull");
}

TEST(TsqlToSqlite, LeavesLiteralsIdentifiersAndCommentsAlone) {
    EXPECT_EQ(tsqlToSqlite("'ISNULL(' + 'it''s ISNULL(x)' + ISNULL(y,1)"),
              "'ISNULL(' + 'it''s ISNULL(x)' + IFNULL(y,1)");
    EXPECT_EQ(tsqlToSqlite("[ISNULL(] \"ISNULL(\" -- ISNULL(\n/* ISNULL( */ ISNULL(z,2)"),
              "[ISNULL(] \"ISNULL(\" -- ISNULL(\n/* ISNULL( */ IFNULL(z,2)");
    EXPECT_EQ(tsqlToSqlite("'unclosed ISNULL("), "'unclosed ISNULL(");
}

TEST(TsqlToSqlite, DropsTheNOfUnicodeLiteralsOnly) {
    EXPECT_EQ(tsqlToSqlite("(N'毫米²'='' or a like n'%²%') and colN'x' and 'N''y'"),
              "('毫米²'='' or a like '%²%') and colN'x' and 'N''y'");
    EXPECT_EQ(tsqlToSqlite("N"), "N");
}

TEST(TsqlToSqlite, QuotesTheUnitOfDateDiffOnly) {
    EXPECT_EQ(tsqlToSqlite("DATEDIFF(day, a.d, '2026-12-10') + datediff ( dd ,x,y)"),
              "DATEDIFF('day', a.d, '2026-12-10') + datediff ( 'dd' ,x,y)");
    EXPECT_EQ(tsqlToSqlite("MYDATEDIFF(day, x) 'DATEDIFF(day' [DATEDIFF(day]"),
              "MYDATEDIFF(day, x) 'DATEDIFF(day' [DATEDIFF(day]");
}
