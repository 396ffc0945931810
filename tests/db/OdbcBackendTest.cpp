#include "db/odbc/OdbcBackend.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "db/odbc/OdbcConnectionString.h"
#include "db/odbc/OdbcValue.h"
#include "db/sqlite/SqliteBackend.h"
#include "result/DbError.h"
#include "support/DemoDatabasePath.h"
#include "support/LoopbackSocket.h"
#include "support/QueryText.h"
#include "support/SameCells.h"
#include "support/tds/TdsServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>

namespace {

// The SQLite ODBC driver, a real ODBC driver that works on a file (it reads no braces);
// StepAPI makes it fetch row by row instead of reading the whole result first. It has no wide
// functions, so unixODBC converts the program's wide calls for it in the locale's code set,
// which the program's Qt sets from the environment: UTF-8 here.
std::string sqliteOdbc(const std::string& path) {
    std::setlocale(LC_ALL, "C.UTF-8");
    return "DRIVER={SQLite3};StepAPI=1;DATABASE=" + path;
}

// A loopback port on which nothing listens.
int closedLoopbackPort() {
    int port = 0;
    close(bindLoopbackSocket(port));
    return port;
}

} // namespace

TEST(OdbcBackend, BlockFetchGivesTheSameCellsAsTheNativeBackend) {
    // Every kind of field, over every line: the SQLite driver knows no T-SQL, so plain SQL.
    const std::string text = "select b.AutoID, b.cInvCode, b.cBatch, b.iQuantity, b.iPrice, "
                             "a.dDate from rdrecords b inner join rdrecord a on a.ID = b.ID";
    using enum FieldKind;
    const std::vector<FieldDecl> fields = {{"AutoID", Integer}, {"cInvCode", Text},
                                           {"cBatch", Text},    {"iQuantity", Double},
                                           {"iPrice", Decimal}, {"dDate", DateTime}};
    OdbcBackend odbc(sqliteOdbc(demoDatabasePath()));
    SqliteBackend native(demoDatabasePath());
    const ResultSet viaOdbc = odbc.fetchAll(text, fields);
    const ResultSet viaNative = native.fetchAll(text, fields);
    ASSERT_GT(viaNative.rowCount(), 10'000U); // many blocks of rows
    expectSameCells(viaOdbc, viaNative);
}

TEST(OdbcBackend, AMissingDeclaredFieldFailsAndAStatementErrorIsRaised) {
    OdbcBackend odbc(sqliteOdbc(demoDatabasePath()));
    const std::vector<FieldDecl> fields{{"cWhName", FieldKind::Text}, {"nope", FieldKind::Text}};
    EXPECT_THROW(odbc.fetchAll("select cWhCode, cWhName from Warehouse", fields), DbError);
    EXPECT_THROW(odbc.fetchAll("select * from NoSuchTable", {}), DbError);
    // Text that is no number cannot fill a number field, whatever the driver says of its type.
    EXPECT_THROW(odbc.fetchAll("select cWhName as n from Warehouse",
                               std::vector<FieldDecl>{{"n", FieldKind::Decimal}}),
                 DbError);
    EXPECT_THROW(odbc.fetchAll("select cWhName as n from Warehouse",
                               std::vector<FieldDecl>{{"n", FieldKind::Double}}),
                 DbError);
    const ResultSet r = odbc.fetchAll("select cWhName from Warehouse order by cWhCode", {});
    EXPECT_EQ(r.column(0).text(0), "原材料库");
}

TEST(OdbcBackend, ValuesHoldingSemicolonsBracesAndEqualSignsReachTheServerLiterally) {
    TdsServer server;
    const ConnectionSettings settings{server.address(), "erp;db={x}", "sa;UID=evil", "p;w}d={=}密"};
    OdbcBackend connected(sqlServerOdbcConnectionString(settings));
    ASSERT_EQ(server.logins().size(), 1U);
    const TdsServer::Login login = server.logins()[0];
    EXPECT_EQ(login.user, settings.user);
    EXPECT_EQ(login.password, settings.password);
    EXPECT_EQ(login.database, settings.database);
    EXPECT_TRUE(login.readOnlyIntent);
}

TEST(OdbcBackend, AServerThatNeverAnswersIsGivenUpAfterTheLoginTimeOut) {
    TdsServer server({}, {.silent = true});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(OdbcBackend(sqlServerOdbcConnectionString({server.address(), "d", "u", "p"}), 2),
                 DbError);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(1500));
    EXPECT_LT(waited, std::chrono::seconds(8));
}

TEST(OdbcBackend, AServerThatIsNotListeningFailsWithinTheLoginTimeOutWithoutThePassword) {
    const std::string password = "Pw;d=}x-秘密";
    Connection connection;
    connection.setSettings(
        {"127.0.0.1," + std::to_string(closedLoopbackPort()), "erp", "sa", password});
    const auto start = std::chrono::steady_clock::now();
    try {
        connection.open();
        FAIL() << "connected to a closed port";
    } catch (const DbError& error) {
        EXPECT_EQ(std::string(error.what()).find(password), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("cannot connect"), std::string::npos);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::seconds(OdbcBackend::kLoginTimeoutSeconds));
    EXPECT_FALSE(connection.isOpen());
}

// The driver describes the expression narrower than its values and cannot read a value of a
// block again: the statement runs once more, row by row for values this long.
TEST(OdbcBackend, TextsLongerThanTheDriverSaysArriveWhole) {
    OdbcBackend odbc(sqliteOdbc(demoDatabasePath()));
    const ResultSet r = odbc.fetchAll(
        "select cWhCode, cWhName || replace(hex(zeroblob(cast(cWhCode as integer) * 500)), '0', "
        "'长') as t from Warehouse order by cWhCode",
        {});
    ASSERT_EQ(r.rowCount(), 20U);
    for (std::size_t row = 0; row < r.rowCount(); ++row)
        EXPECT_EQ(r.column(1).text(row).size(),
                  r.column(1).text(row).find("长") + 3 * 1000 * (row + 1))
            << row;
    EXPECT_EQ(odbc.lastFetchCounts().runs, 2U);
}

TEST(OdbcValue, ALengthTheDriverCutOrDidNotKnowAndAnImpossibleDateAreRefusedNotRead) {
    std::string scratch;
    // A number or a date as text, of unknown length or longer than its room.
    unsigned char digits[48] = "12.5";
    for (const SQLLEN indicator : {SQLLEN{SQL_NO_TOTAL}, SQLLEN{-7}, SQLLEN{48}, SQLLEN{4000}}) {
        ResultColumn fixed("金额", FieldKind::Decimal);
        EXPECT_THROW(appendOdbcValue(fixed, {digits, 48, indicator, false}, scratch), DbError);
        ResultColumn fromText("数量", FieldKind::Integer);
        EXPECT_THROW(appendOdbcValue(fromText, {digits, 48, indicator, true}, scratch), DbError);
    }
    ResultColumn fixed("金额", FieldKind::Decimal);
    appendOdbcValue(fixed, {digits, 48, 4, false}, scratch);
    EXPECT_EQ(fixed.integer(0), 125000);
    // Text longer than its room.
    const char16_t text[] = u"螺栓";
    ResultColumn name("存货名称", FieldKind::Text);
    EXPECT_THROW(
        appendOdbcValue(name, {reinterpret_cast<const unsigned char*>(text), 6, 6, false}, scratch),
        DbError);
    // The 31st of February, and the 25th hour.
    for (const SQL_TIMESTAMP_STRUCT moment : {SQL_TIMESTAMP_STRUCT{2026, 2, 31, 0, 0, 0, 0},
                                              SQL_TIMESTAMP_STRUCT{2026, 1, 1, 24, 0, 0, 0}}) {
        ResultColumn day("单据日期", FieldKind::DateTime);
        EXPECT_THROW(appendOdbcValue(day,
                                     {reinterpret_cast<const unsigned char*>(&moment),
                                      sizeof moment, sizeof moment, false},
                                     scratch),
                     DbError);
    }
}
