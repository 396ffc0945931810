#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "db/odbc/OdbcBackend.h"
#include "db/odbc/OdbcConnectionString.h"
#include "db/sqlite/SqliteBackend.h"
#include "journal/JournalFields.h"
#include "result/DateTime.h"
#include "stock/CurrentStockFields.h"
#include "support/DemoDatabasePath.h"
#include "support/QueryText.h"
#include "support/SameCells.h"
#include "support/tds/DemoOverTds.h"
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsTokens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>

// Everything here goes through unixODBC and FreeTDS to a TDS server in the test, which answers
// from the demo database in the ERP's column types.
namespace {

std::size_t timesReceived(const TdsServer& server, const std::string& batch) {
    const auto batches = server.batches();
    return static_cast<std::size_t>(std::count(batches.begin(), batches.end(), batch));
}

ResultSet nativeResult(const std::string& text, std::span<const FieldDecl> fields) {
    return SqliteBackend(demoDatabasePath()).fetchAll(text, fields);
}

} // namespace

TEST(SqlServerOverTds, BothStatementsArriveExactlyAsBuiltAndAnswerAsTheDemoDoes) {
    DemoOverTds demo;
    TdsServer& server = demo.server;
    Connection& connection = demo.connection;

    CurrentStockCriteria stock;
    stock.warehouseCodes = {"01", "03"};
    stock.name = "轴承";
    stock.spec = "O'";
    stock.addCode = "²"; // outside code page 936: an N'...' literal
    JournalCriteria journal = wholeJournal();
    journal.name = "轴承";
    journal.flag = "收";
    journal.documentNumber = "'";
    journal.productionOrder = "MO-²";
    const std::vector<std::pair<std::string, std::span<const FieldDecl>>> queries = {
        {joinedStatement(currentStockStatement(stock)), currentStockFields()},
        {joinedStatement(currentStockStatement({})), currentStockFields()},
        {joinedStatement(journalStatement(journal)), journalFields()},
        {joinedStatement(journalStatement(wholeJournal())), journalFields()},
    };
    for (const auto& [text, fields] : queries) {
        SCOPED_TRACE(text.substr(0, 60));
        const ResultSet overTds = connection.fetchAll(text, fields);
        EXPECT_EQ(server.batches().back(), text); // CR LF, Chinese and quotes as built
        expectSameCells(overTds, nativeResult(text, fields));
    }
    EXPECT_NE(server.batches()[0].find("N'%²%'"), std::string::npos);
}

TEST(SqlServerOverTds, AnUnboundedFirstColumnKeepsBlockFetch) {
    TdsServer server{ErpTdsResponder(demoDatabasePath())};
    OdbcBackend backend(sqlServerOdbcConnectionString(settingsFor(server)));
    const std::string text = joinedStatement(journalStatement(wholeJournal()));
    const ResultSet result = backend.fetchAll(text, journalFields()); // 收发标志 is varchar(max)
    ASSERT_GT(result.rowCount(), 10'000U);
    EXPECT_EQ(backend.lastFetchCounts().runs, 1U);
    EXPECT_EQ(backend.lastFetchCounts().fetchCalls, (result.rowCount() + 999) / 1000 + 1);
}

TEST(SqlServerOverTds, EveryErpTypeArrivesWithItsValuesAndNulls) {
    using tds::Type;
    const std::string longText = std::string(3000, 'x') + "长" + std::string(2000, 'y') + "尾";
    const std::string longNarrow = std::string(6000, 'z') + "库";
    const std::vector<tds::Column> columns = {
        {"长文本", Type::NVarCharMax}, {"名称", Type::NVarChar, 20},
        {"备注", Type::VarChar, 20},   {"长备注", Type::VarCharMax},
        {"小", Type::TinyInt},         {"整", Type::Int},
        {"大", Type::BigInt},          {"数量", Type::Decimal, 0, 28, 6},
        {"金额", Type::Money},         {"单价", Type::Float},
        {"日期", Type::DateTime},
    };
    const std::int64_t date = toEpochMilliseconds({2026, 3, 15, 8, 30, 5, 0});
    tds::Table table(columns);
    for (int row = 0; row < 2500; ++row) {
        if (row == 7) { // every value null
            for (std::size_t c = 0; c < columns.size(); ++c)
                table.null();
            continue;
        }
        table.text(row == 1500 ? longText : "短" + std::to_string(row));
        table.text("轴承😀");
        table.text("2.5mm² 垫片");
        table.text(row == 2499 ? longNarrow : "收");
        table.integer(255);
        table.integer(-2'147'483'647 - 1);
        table.integer(9'007'199'254'740'993);
        table.decimal(-(static_cast<__int128>(123'456'789'012) * 1'000'000 + 123'456));
        table.money(-922'337'203'685'477'580);
        table.real(0.1);
        table.dateTime(date + row * 86'400'000LL);
    }
    const auto answer = std::make_shared<const std::string>(table.finish());
    TdsServer server{[answer](const std::string&) { return answer; }};
    OdbcBackend backend(sqlServerOdbcConnectionString(settingsFor(server)));

    const ResultSet r = backend.fetchAll("select * from 各种类型", {});
    ASSERT_EQ(r.rowCount(), 2500U);
    ASSERT_EQ(r.columnCount(), columns.size());
    const std::vector<FieldKind> kinds = {
        FieldKind::Text,    FieldKind::Text,    FieldKind::Text,    FieldKind::Text,
        FieldKind::Integer, FieldKind::Integer, FieldKind::Integer, FieldKind::Decimal,
        FieldKind::Decimal, FieldKind::Double,  FieldKind::DateTime};
    for (std::size_t c = 0; c < columns.size(); ++c) {
        EXPECT_EQ(r.column(c).name(), columns[c].name);
        EXPECT_EQ(r.column(c).kind(), kinds[c]) << columns[c].name;
        EXPECT_TRUE(r.column(c).isNull(7)) << columns[c].name;
        EXPECT_FALSE(r.column(c).isNull(8)) << columns[c].name;
    }
    EXPECT_EQ(r.column(0).text(0), "短0");
    EXPECT_EQ(r.column(0).text(1500), longText);
    EXPECT_EQ(r.column(0).text(1501), "短1501");
    EXPECT_EQ(r.column(1).text(8), "轴承😀");
    EXPECT_EQ(r.column(2).text(8), "2.5mm? 垫片"); // what a code page 936 column can hold
    EXPECT_EQ(r.column(3).text(2498), "收");
    EXPECT_EQ(r.column(3).text(2499), longNarrow);
    EXPECT_EQ(r.column(4).integer(8), 255);
    EXPECT_EQ(r.column(5).integer(8), -2'147'483'647 - 1);
    EXPECT_EQ(r.column(6).integer(8), 9'007'199'254'740'993);
    EXPECT_EQ(r.column(7).integer(8), -1'234'567'890'121'235); // -123456789012.123456
    EXPECT_EQ(r.column(8).integer(8), -922'337'203'685'477'580);
    EXPECT_DOUBLE_EQ(r.column(9).real(8), 0.1);
    EXPECT_EQ(r.column(10).integer(0), date);
    EXPECT_EQ(r.column(10).integer(2000), date + 2000 * 86'400'000LL);
    // FreeTDS cannot read a value of a block again alone, so the statement ran once more
    // with buffers that hold the long values: three blocks and the end.
    EXPECT_EQ(backend.lastFetchCounts().runs, 2U);
    EXPECT_EQ(backend.lastFetchCounts().fetchCalls, 4U);
}

TEST(SqlServerOverTds, AValueTooLongForAnyBlockBufferIsReadRowByRow) {
    const std::string huge = "始" + std::string(40'000, 'h') + "终";
    tds::Table table({{"备注", tds::Type::NVarCharMax}, {"编号", tds::Type::Int}});
    for (int row = 0; row < 1200; ++row) {
        table.text(row == 1100 ? huge : "");
        table.integer(row);
    }
    const auto answer = std::make_shared<const std::string>(table.finish());
    TdsServer server{[answer](const std::string&) { return answer; }};
    OdbcBackend backend(sqlServerOdbcConnectionString(settingsFor(server)));
    const ResultSet r = backend.fetchAll("select 备注, 编号 from 备忘", {});
    ASSERT_EQ(r.rowCount(), 1200U);
    EXPECT_EQ(r.column(0).text(1100), huge);
    EXPECT_EQ(r.column(0).text(1099), "");
    EXPECT_FALSE(r.column(0).isNull(1099));
    EXPECT_EQ(r.column(1).integer(1199), 1199);
    EXPECT_EQ(backend.lastFetchCounts().runs, 2U);
    EXPECT_EQ(backend.lastFetchCounts().fetchCalls, 1201U);
}

TEST(SqlServerOverTds, ALostConnectionIsMadeAgainAndTheStatementRunsOnceMore) {
    DemoOverTds demo;
    TdsServer& server = demo.server;
    Connection& connection = demo.connection;
    const std::string text = joinedStatement(currentStockStatement({}));
    const std::size_t rows = connection.fetchAll(text, currentStockFields()).rowCount();

    server.dropConnections(); // the server restarted under the open connection
    EXPECT_EQ(connection.fetchAll(text, currentStockFields()).rowCount(), rows);
    EXPECT_EQ(server.logins().size(), 2U);
    EXPECT_EQ(server.logins()[1].password, "只读;pw");
    EXPECT_EQ(timesReceived(server, text), 2U);
}

TEST(SqlServerOverTds, AServerThatStaysAwayIsWaitedForTheWholePatienceThenGivenUp) {
    std::optional<TdsServer> server(std::in_place, ErpTdsResponder(demoDatabasePath()));
    Connection connection;
    connection.setSettings(settingsFor(*server));
    connection.setReconnectPatience(std::chrono::seconds(3));
    connection.open();
    server.reset(); // gone, and not coming back
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(connection.fetchAll("select 1", {}), ServerUnreachable);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::seconds(3)); // as long as it was told, not a step less
    EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST(SqlServerOverTds, AStatementTheServerRefusesIsNotRunAgain) {
    TdsServer server{[](const std::string&) {
        return std::make_shared<const std::string>(
            tds::errorToken(208, 16, "Invalid object name 'CurrentStock'.") +
            tds::doneToken(tds::kDoneError, 0));
    }};
    Connection connection;
    connection.setSettings(settingsFor(server));
    connection.open();
    const std::string text = joinedStatement(currentStockStatement({}));
    try {
        connection.fetchAll(text, currentStockFields());
        FAIL() << "the refused statement gave a result";
    } catch (const DbError& error) {
        EXPECT_FALSE(error.connectionLost());
        EXPECT_NE(std::string(error.what()).find("Invalid object name"), std::string::npos);
    }
    EXPECT_EQ(timesReceived(server, text), 1U);
    EXPECT_EQ(server.logins().size(), 1U);
}
