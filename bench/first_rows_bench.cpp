// How soon a query's first rows are on the screen, and what showing them as they arrive costs
// the whole query.
//   first_rows_bench LARGE_DEMO_FILE [RUNS]
// For the journal over every date (the rows come as the server reads them), the current stock
// and the ageing as of today (the server groups first), through the SQLite backend and over TDS
// from the tests' server with its answer paced to 12.5 MB/s, as a 100 Mbit/s link carries it:
// - from 查询 to the grid having painted a screenful of rows, beside the server's own time to
//   its first row (SQLite: preparing and the first sqlite3_step of the same statement; TDS: the
//   moment the server began to send, so the figure is the time after it);
// - the whole query through the window (rows shown as they arrive, then sorted and summed),
//   beside the same statement fetched by the connection alone with nothing shown, best of runs;
// - the longest tick gap of a 10 ms timer on the interface thread while the window's query ran.
#include "BenchArguments.h"
#include "BenchProcess.h"
#include "DemoQuery.h"
#include "MainWindowBench.h"
#include "PeerStatement.h"
#include "app/Tfrm_ageing.h"
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "db/odbc/OdbcConnectionString.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "journal/JournalFields.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"
#include "support/TickWatch.h"
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsServer.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start, Clock::time_point end = Clock::now()) {
    return std::chrono::duration<double>(end - start).count();
}

struct WindowRun {
    Clock::time_point started;     // 查询
    Clock::time_point firstScreen; // a screenful of rows painted
    double whole = 0;              // seconds from 查询 to the window ready with every row
    double longestGapMs = 0;
    std::size_t rows = 0;
};

// Runs the window's query and turns the event loop, painting the grid as soon as a screenful
// of rows is there.
WindowRun runWindow(QueryWindowFrame& window) {
    ResultGrid& grid = *window.grid();
    const auto screenful =
        static_cast<std::size_t>(grid.body()->viewport()->height() / GridBody::kRowHeight);
    const TickWatch ticks;
    WindowRun run;
    bool painted = false;
    run.started = Clock::now();
    window.RunQuery();
    while (window.work().busy()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); // the tick timer wakes it
        if (!painted && grid.query().isOpen() && grid.query().rowCount() >= screenful) {
            grid.body()->viewport()->repaint();
            run.firstScreen = Clock::now();
            painted = true;
        }
    }
    run.whole = secondsSince(run.started);
    run.longestGapMs = ticks.longestGapMs();
    run.rows = grid.query().rowCount();
    if (!painted) // every row came within one tick
        run.firstScreen = Clock::now();
    return run;
}

// The bare SQLite library: preparing the statement and its first step, in seconds.
double sqliteFirstRow(const std::string& file, const std::string& statement) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(db, ("ATTACH '" + file + "' AS dbo").c_str(), nullptr, nullptr, nullptr);
    const std::string sql = peerStatement(statement);
    const auto start = Clock::now();
    sqlite3_stmt* prepared = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &prepared, nullptr);
    const int rc = sqlite3_step(prepared);
    const double seconds = secondsSince(start);
    sqlite3_finalize(prepared);
    sqlite3_close(db);
    return rc == SQLITE_ROW ? seconds : -1;
}

struct Query {
    const char* name;
    QueryWindowFrame* window;
};

// Runs of the window's query; the first screen and the whole query are each the best of the
// runs, measured from `from` (查询 when null).
struct Best {
    double firstScreen = 1e9;
    double whole = 1e9;
    double longestGapMs = 0;
    std::size_t rows = 0;
    double fromAfterQuery = 1e9; // `from` after 查询
};

Best bestOf(int runs, QueryWindowFrame& window,
            const std::function<Clock::time_point(const WindowRun&)>& from) {
    Best best;
    for (int i = 0; i < runs; ++i) {
        const WindowRun run = runWindow(window);
        best.firstScreen = std::min(best.firstScreen, secondsSince(from(run), run.firstScreen));
        best.fromAfterQuery = std::min(best.fromAfterQuery, secondsSince(run.started, from(run)));
        best.whole = std::min(best.whole, run.whole);
        best.longestGapMs = std::max(best.longestGapMs, run.longestGapMs);
        best.rows = run.rows;
    }
    return best;
}

// The window's last statement fetched by the connection alone, nothing shown: best of runs.
double fetchAloneBest(int runs, Connection& connection, QueryWindowFrame& window) {
    const ResultQuery& query = window.grid()->query();
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, secondsOf([&] {
                            connection.fetchAll(query.commandText(), query.declaredFields());
                        }));
    return best;
}

void report(const char* link, const char* name, const Best& best, const char* firstPeer,
            double firstPeerSeconds, double fetchAlone) {
    std::printf("%-13s %-6s %9zu rows | first screen %6.3f s | %s %6.3f s | target <= 0.3 s\n",
                name, link, best.rows, best.firstScreen, firstPeer, firstPeerSeconds);
    std::printf("%-13s %-6s whole query in the window %7.3f s | fetched alone %7.3f s | ratio "
                "%.3f | target <= 1.05 | longest tick gap %5.1f ms (<= 50)\n",
                name, link, best.whole, fetchAlone, best.whole / fetchAlone, best.longestGapMs);
}

} // namespace

int main(int argc, char** argv) {
    const auto arguments = benchArguments(argc, argv, "first_rows_bench LARGE_DEMO_FILE [RUNS]", 3);
    if (!arguments)
        return 2;
    MainWindowBench bench(argc, argv, arguments->file, "/tmp/stockquery-first-rows-bench-settings");
    Tfrm_xclquery& main = bench.window;
    Connection& connection = main.ado_conn;
    Tfrm_crquery journal(connection);
    journal.resize(1200, 700);
    journal.show();
    journal.dates->setDate(QDate(1900, 1, 1));
    journal.datee->setDate(QDate(9999, 12, 31));
    Tfrm_ageing ageing(connection);
    ageing.resize(1200, 700);
    ageing.show(); // as of today, in the default bands
    // What the windows do on showing (their warehouse lists) is done before anything is timed.
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    const std::vector<Query> queries = {
        {"journal", &journal}, {"current-stock", &main}, {"ageing", &ageing}};

    const auto fromQuery = [](const WindowRun& run) { return run.started; };
    for (const Query& query : queries) {
        const Best best = bestOf(arguments->runs, *query.window, fromQuery);
        const ResultQuery& ran = query.window->grid()->query();
        report("SQLite", query.name, best, "bare sqlite3, prepare to first row",
               sqliteFirstRow(arguments->file, ran.commandText()),
               fetchAloneBest(arguments->runs, connection, *query.window));
    }

    // Over TDS, paced as a 100 Mbit/s link carries it; each answer is encoded by the first,
    // untimed run, then sent from memory.
    auto answers = std::make_shared<std::map<std::string, std::shared_ptr<const std::string>>>();
    auto responder = std::make_shared<ErpTdsResponder>(arguments->file);
    TdsServerOptions paced;
    paced.bytesPerSecond = 12'500'000;
    TdsServer server(
        [answers, responder](const std::string& batch) {
            std::shared_ptr<const std::string>& answer = (*answers)[batch];
            if (!answer)
                answer = (*responder)(batch);
            return answer;
        },
        paced);
    connection.close();
    connection.setSettings({server.address(), "erp_2026", "reader", "pw"});
    connection.open();
    const auto fromSending = [&server](const WindowRun&) { return server.answerStarted(); };
    for (const Query& query : queries) {
        runWindow(*query.window);
        const Best best = bestOf(arguments->runs, *query.window, fromSending);
        report("TDS", query.name, best, "after the server began to send, which was after 查询",
               best.fromAfterQuery, fetchAloneBest(arguments->runs, connection, *query.window));
    }
    return 0;
}
