// A statement that runs is stopped from another thread, as the windows' 取消 does: SQLite
// through sqlite3_interrupt, ODBC drivers through SQLCancel.
#include "db/Connection.h"
#include "db/odbc/OdbcBackend.h"
#include "db/odbc/OdbcConnectionString.h"
#include "support/DemoDatabasePath.h"
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <future>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Counts to a billion: many seconds on any backend that runs it.
constexpr const char* kSlowStatement =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000000) "
    "SELECT count(*) AS c FROM n";

// Starts `fetch` on a thread, cancels it 150 ms later, and gives the seconds from the cancel to
// the end of the fetch; the fetch must end in WorkCancelled.
template <typename Fetch> double secondsToStop(Fetch fetch) {
    WorkControl control;
    auto running = std::async(std::launch::async, [&] { fetch(control); });
    EXPECT_EQ(running.wait_for(std::chrono::milliseconds(150)), std::future_status::timeout)
        << "the statement ended before the cancel";
    const Clock::time_point cancelled = Clock::now();
    control.cancel();
    EXPECT_EQ(running.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    const double seconds = std::chrono::duration<double>(Clock::now() - cancelled).count();
    EXPECT_THROW(running.get(), WorkCancelled);
    return seconds;
}

} // namespace

TEST(Cancel, ASqliteStatementStopsAndTheConnectionRunsTheNextOne) {
    Connection connection;
    connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
    connection.open();
    EXPECT_LT(secondsToStop(
                  [&](WorkControl& control) { connection.fetchAll(kSlowStatement, {}, control); }),
              1.0);
    EXPECT_EQ(connection.fetchAll("select 1 as one", {}).rowCount(), 1U);
}

TEST(Cancel, ACancelBeforeTheStatementStartsStopsItAtOnce) {
    Connection connection;
    connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
    connection.open();
    WorkControl control;
    control.cancel();
    EXPECT_THROW(connection.fetchAll(kSlowStatement, {}, control), WorkCancelled);
}

TEST(Cancel, TheSqliteOdbcDriverStopsOnSqlCancel) {
    std::setlocale(LC_ALL, "C.UTF-8");
    OdbcBackend odbc("DRIVER={SQLite3};StepAPI=1;DATABASE=" + demoDatabasePath());
    EXPECT_LT(
        secondsToStop([&](WorkControl& control) { odbc.fetchAll(kSlowStatement, {}, control); }),
        1.0);
    EXPECT_EQ(odbc.fetchAll("select 1 as one", {}).rowCount(), 1U);
}

TEST(Cancel, FreeTdsSendsAnAttentionAndTheSessionGoesOn) {
    TdsServer server(ErpTdsResponder(demoDatabasePath()), TdsServerOptions{.answerAfterMs = 5000});
    Connection connection;
    connection.setSettings({server.address(), "erp_2026", "reader", "pw"});
    connection.open();
    EXPECT_LT(secondsToStop([&](WorkControl& control) {
                  connection.fetchAll("select cWhCode from Warehouse", {}, control);
              }),
              1.0);
    EXPECT_EQ(server.logins().size(), 1U); // the same session, not a new log-in
}
