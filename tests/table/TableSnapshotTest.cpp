#include "table/TableSnapshot.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "support/DemoDatabasePath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> codesOf(const TableSnapshot& rows) {
    const ResultColumn& code = rows.result().column(*rows.result().findColumn("cWhCode"));
    std::vector<std::string> codes;
    for (std::size_t i = 0; i < rows.rowCount(); ++i)
        codes.emplace_back(code.text(rows.rowAt(i)));
    return codes;
}

} // namespace

TEST(TableSnapshot, KeepsItsRowsAndOrderWhileTheQuerySortsClosesAndOpensAgain) {
    Connection connection;
    connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
    connection.open();
    ResultQuery query(connection);
    query.appendLine("select cWhCode, cWhName from dbo.Warehouse");
    query.open();
    query.setSortOrder("cWhCode DESC");
    const TableSnapshot rows(query);
    const std::vector<std::string> taken = codesOf(rows);
    ASSERT_GT(taken.size(), 2U);
    EXPECT_GT(taken.front(), taken.back());

    query.setSortOrder("cWhCode ASC");
    EXPECT_EQ(codesOf(rows), taken);
    query.close();
    EXPECT_TRUE(rows.isOpen());
    EXPECT_EQ(codesOf(rows), taken);
    query.clearStatement();
    query.appendLine("select cWhCode from dbo.Warehouse where cWhCode = '01'");
    query.open();
    EXPECT_EQ(query.rowCount(), 1U);
    EXPECT_EQ(codesOf(rows), taken);
    EXPECT_FALSE(TableSnapshot(ResultQuery(connection)).isOpen());
}
