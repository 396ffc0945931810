#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "journal/JournalFields.h"
#include "result/DateTime.h"
#include "stock/CurrentStockFields.h"
#include "support/DemoDatabasePath.h"
#include "support/QueryText.h"
#include "support/TempDir.h"
#include "support/TinyErp.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace {

// A count straight from the file with the sqlite3 library, apart from the backend.
long long countOf(const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(demoDatabasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    const long long count =
        sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return count;
}

class SqliteBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        connection.setSettings({"sqlite:" + demoDatabasePath(), "demo", "demo", ""});
        connection.open();
    }
    Connection connection;
};

} // namespace

TEST_F(SqliteBackendTest, JournalStatementDeliversItsDeclaredFieldsWithNullsAndDates) {
    ResultQuery query(connection, journalFields());
    for (const std::string& line : journalStatement(wholeJournal()))
        query.appendLine(line);
    query.open();
    ASSERT_TRUE(query.isOpen());
    EXPECT_EQ(static_cast<long long>(query.rowCount()),
              countOf("select count(*) from rdrecords b join rdrecord a on a.id=b.id "
                      "join VouchType c on a.cVouchType=c.cVouchType"));
    const ResultSet& r = query.result();
    ASSERT_EQ(r.columnCount(), journalFields().size());
    const ResultColumn& flag = r.column(query.fieldIndex("收发标志"));
    const ResultColumn& received = r.column(query.fieldIndex("入库数量"));
    const ResultColumn& issued = r.column(query.fieldIndex("出库数量"));
    const ResultColumn& audit = r.column(query.fieldIndex("审核日期"));
    const ResultColumn& warehouse = r.column(query.fieldIndex("仓库"));
    std::size_t auditNulls = 0, auditWithTime = 0, noWarehouse = 0;
    for (std::size_t row = 0; row < r.rowCount(); ++row) {
        const bool receipt = flag.text(row) == "收";
        ASSERT_TRUE(receipt || flag.text(row) == "发");
        ASSERT_EQ(received.isNull(row), !receipt);
        ASSERT_EQ(issued.isNull(row), receipt);
        auditNulls += audit.isNull(row);
        auditWithTime += !audit.isNull(row) && audit.integer(row) % 86'400'000 != 0;
        noWarehouse += warehouse.isNull(row);
    }
    EXPECT_GT(auditNulls, 0U);
    EXPECT_GT(auditWithTime, 0U);
    EXPECT_GT(noWarehouse, 0U);
    EXPECT_EQ(r.column(query.fieldIndex("单据日期")).kind(), FieldKind::DateTime);
    EXPECT_EQ(r.column(query.fieldIndex("金额")).kind(), FieldKind::Decimal);
}

TEST_F(SqliteBackendTest, CurrentStockStatementRunsWithIsnullAndTheDboSchema) {
    ResultQuery query(connection, currentStockFields());
    for (const std::string& line : currentStockStatement({}))
        query.appendLine(line);
    query.open();
    EXPECT_GT(query.rowCount(), 1000U);
    const ResultColumn& onHand = query.result().column(query.fieldIndex("现存量"));
    EXPECT_EQ(onHand.kind(), FieldKind::Decimal);
    for (std::size_t row = 0; row < onHand.size(); ++row)
        ASSERT_FALSE(onHand.isNull(row)); // nulls became 0 before summing
}

TEST_F(SqliteBackendTest, OnlyReadingStatementsRunAndTheFileStaysUnchanged) {
    const auto before = std::filesystem::last_write_time(demoDatabasePath());
    for (const char* sql : {"DELETE FROM Warehouse", "CREATE TABLE t (x)",
                            "select 1; delete from Warehouse", "PRAGMA user_version = 5"})
        EXPECT_THROW(connection.fetchAll(sql, {}), DbError) << sql;
    EXPECT_EQ(countOf("select count(*) from Warehouse"), 20);
    EXPECT_EQ(std::filesystem::last_write_time(demoDatabasePath()), before);
}

TEST_F(SqliteBackendTest, AMissingOrIncompatibleFieldFailsTheOpenAndLeavesTheQueryClosed) {
    const std::string picker = "select cwhcode,cwhname\r\nfrom warehouse\r\norder by cwhcode";
    for (const std::vector<FieldDecl>& fields :
         {std::vector<FieldDecl>{{"cwhcode", FieldKind::Text}, {"仓库名称", FieldKind::Text}},
          std::vector<FieldDecl>{{"cwhname", FieldKind::Decimal}},
          std::vector<FieldDecl>{{"cwhname", FieldKind::DateTime}}}) {
        ResultQuery query(connection, fields);
        query.appendLine(picker);
        EXPECT_THROW(query.open(), DbError);
        EXPECT_FALSE(query.isOpen());
        EXPECT_EQ(query.rowCount(), 0U);
    }
    ResultQuery numbersAsText(connection, {{"n", FieldKind::Text}});
    numbersAsText.appendLine("select 12.5 as n");
    EXPECT_THROW(numbersAsText.open(), DbError);
}

TEST_F(SqliteBackendTest, UndeclaredFieldsComeAsTheyAreAndNamesIgnoreCase) {
    ResultQuery query(connection);
    query.appendLine("select cwhcode,cwhname");
    query.appendLine("from warehouse");
    query.appendLine("order by cwhcode");
    EXPECT_EQ(query.commandText(),
              "select cwhcode,cwhname\r\nfrom warehouse\r\norder by cwhcode\r\n");
    query.open();
    ASSERT_EQ(query.rowCount(), 20U);
    const ResultColumn& code = query.result().column(query.fieldIndex("cWhCode"));
    EXPECT_EQ(code.kind(), FieldKind::Text);
    EXPECT_EQ(code.text(0), "01");
    EXPECT_EQ(code.text(19), "20");
    EXPECT_THROW(query.fieldIndex("cWhNameX"), DbError);
}

TEST_F(SqliteBackendTest, CursorWalksMovesAndReturnsToABookmark) {
    ResultQuery query(connection);
    query.appendLine("select cwhcode from warehouse order by cwhcode");
    query.open();
    const ResultColumn& code = query.result().column(0);
    std::size_t visited = 0;
    for (query.first(); !query.eof(); query.next())
        ++visited;
    EXPECT_EQ(visited, 20U);
    query.first();
    query.moveBy(4);
    EXPECT_EQ(code.text(query.currentRow()), "05");
    const auto mark = query.bookmark();
    query.moveBy(-100);
    EXPECT_EQ(query.position(), 0U);
    query.moveBy(1000);
    EXPECT_EQ(code.text(query.currentRow()), "20");
    query.gotoBookmark(mark);
    EXPECT_EQ(code.text(query.currentRow()), "05");
    query.close();
    EXPECT_FALSE(query.isOpen());
    EXPECT_TRUE(query.isEmpty());
}

TEST_F(SqliteBackendTest, IsnullInsideALiteralStaysText) {
    const ResultSet r = connection.fetchAll("select 'ISNULL(x, 0)' as t, ISNULL(null, 7) as n", {});
    EXPECT_EQ(r.column(0).text(0), "ISNULL(x, 0)");
    EXPECT_EQ(r.column(1).kind(), FieldKind::Integer);
    EXPECT_EQ(r.column(1).integer(0), 7);
}

TEST_F(SqliteBackendTest, DateDiffCountsMidnightsAsTheServerDoes) {
    const ResultSet r = connection.fetchAll(
        "select DATEDIFF(day, '2024-02-28 23:59:59', '2024-03-01'), "
        "DATEDIFF(day, '2026-12-10', '2026-12-09 08:00'), DATEDIFF(day, '1900-01-01', "
        "'2026-12-10'), DATEDIFF(day, null, '2026-12-10'), DATEDIFF(day, 'no day', '2026-12-10')",
        {});
    EXPECT_EQ(r.column(0).integer(0), 2);
    EXPECT_EQ(r.column(1).integer(0), -1);
    EXPECT_EQ(r.column(2).integer(0), 46364);
    EXPECT_TRUE(r.column(3).isNull(0));
    EXPECT_TRUE(r.column(4).isNull(0));
    EXPECT_THROW(connection.fetchAll("select DATEDIFF(month, '2026-01-01', '2026-12-10')", {}),
                 DbError);
}

TEST(SqliteBackendOpen, AMissingFileOrAFileThatIsNoDatabaseFailsToOpen) {
    TempDir dir;
    Connection connection;
    connection.setSettings({"sqlite:" + (dir / "missing.sqlite").string(), "d", "u", ""});
    EXPECT_THROW(connection.open(), DbError);
    EXPECT_FALSE(connection.isOpen());
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.sqlite"));
    std::ofstream(dir / "text.sqlite") << "this is no database, just some text in a file\n";
    connection.setSettings({"sqlite:" + (dir / "text.sqlite").string(), "d", "u", ""});
    EXPECT_THROW(connection.open(), DbError);
    EXPECT_THROW(connection.fetchAll("select 1", {}), DbError);
}

TEST(SqliteBackendOpen, AFailureSaysWhatTheDriverSaidWhateverThePassword) {
    TempDir dir;
    const std::string path = (dir / "nonexistent" / "there.sqlite").string();
    Connection connection;
    connection.setSettings({"sqlite:" + path, "d", "u", "e"}); // a password inside every word
    try {
        connection.open();
        FAIL() << "opened a file that is not there";
    } catch (const DbError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot open " + path + ": unable to open database file");
    }
}

TEST(SqliteBackendLike, ItemCriteriaMatchAsOnTheErpsSqlServer) {
    TinyErp erp;
    erp.exec("INSERT INTO Warehouse VALUES ('01', '原材料库')");
    erp.exec("INSERT INTO Inventory VALUES ('A1', 'x', '垫片 50%', 'M8', '01'),"
             "('A2', 'x', '垫片 508', 'm8x40', '01'), ('B1', 'x', '线 2.5mm²', 'B-7', '01')");
    erp.exec("INSERT INTO CurrentStock (cWhCode, cInvCode, iQuantity) "
             "VALUES ('01', 'A1', 1), ('01', 'A2', 2), ('01', 'B1', 3)");
    Connection connection;
    connection.setSettings({erp.server(), "d", "u", ""});
    connection.open();
    const auto codes = [&](const CurrentStockCriteria& criteria) {
        ResultQuery query(connection, currentStockFields());
        for (const std::string& line : currentStockStatement(criteria))
            query.appendLine(line);
        query.open();
        std::set<std::string> found;
        for (std::size_t row = 0; row < query.rowCount(); ++row)
            found.emplace(query.result().column(1).text(row));
        return found;
    };
    const auto byName = [&](const std::string& name) {
        CurrentStockCriteria c;
        c.name = name;
        return codes(c);
    };
    const auto bySpec = [&](const std::string& spec) {
        CurrentStockCriteria c;
        c.spec = spec;
        return codes(c);
    };
    using Codes = std::set<std::string>;
    EXPECT_EQ(byName("50[%]"), Codes{"A1"});            // [%] is a literal percent sign
    EXPECT_EQ(byName("50%"), (Codes{"A1", "A2"}));      // % alone is any run
    EXPECT_EQ(byName("垫片 50_"), (Codes{"A1", "A2"})); // _ is any one character
    EXPECT_EQ(bySpec("M8"), (Codes{"A1", "A2"}));       // ASCII in either case
    EXPECT_EQ(bySpec("[a-m]8"), (Codes{"A1", "A2"}));
    EXPECT_EQ(bySpec("[^m]-"), Codes{"B1"});
    EXPECT_EQ(byName("mm²"), Codes{"B1"}); // the literal goes in as N'…' and matches
}
