// The query runs of the windows (current stock, journal, the summary of this month and of this
// year, one item's stock card this year), from the call to the count shown, beside the sqlite3
// shell running the same statement text and beside the same run made on the interface thread
// alone; the summary window's first screen (built, shown and painted) beside the journal
// window's; and the warehouse picker listing 1,000 warehouses, beside the shell reading the
// same warehouse statement.
//   query_bench LARGE_DEMO_FILE [RUNS]
#include "BenchArguments.h"
#include "SqliteShell.h"
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_stockcard.h"
#include "app/Tfrm_summary.h"
#include "app/Tfrm_xclquery.h"
#include "forms/Tfrm_store.h"
#include "grid/ResultGrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>

namespace {

void report(const char* figure, double ours, double peer, const char* target) {
    std::printf("%-44s %9.4f s | sqlite3 shell %9.4f s | ratio %.2f | %s\n", figure, ours, peer,
                ours / peer, target);
}

// The same run on the interface thread, as the windows ran it before they had a worker: the
// grid emptied, the rows read, the grid filled and the count shown.
void runSynchronously(ResultGrid& grid, QLabel& count) {
    const std::vector<std::string> lines = grid.query().statementLines();
    grid.clearForRun(lines);
    ResultQuery& query = grid.query();
    grid.showRows(query.connection().fetchAll(query.commandText(), query.declaredFields()));
    count.setText("记录数为：" + QString::number(query.rowCount()));
}

// Runs the window's query with `name` in its item-name box, through the worker as the query
// button does and on the interface thread alone; `query` is the window's result.
template <typename Window>
void benchRunQuery(const char* what, Window& window, ResultGrid& grid, const std::string& file,
                   const QString& name, int runs) {
    if constexpr (requires { window.edt_name; })
        window.edt_name->setText(name);
    double worker = 1e9;
    double synchronous = 1e9;
    double peer = 1e9;
    for (int i = 0; i < runs; ++i) {
        worker = std::min(worker, secondsOf([&] {
                              window.RunQuery();
                              window.work().waitUntilDone();
                          }));
        synchronous =
            std::min(synchronous, secondsOf([&] { runSynchronously(grid, *window.Panel4); }));
        peer = std::min(peer, sqliteShellRun(file, grid.query().commandText()).seconds);
    }
    const std::string figure = std::string(what) + " RunQuery, " +
                               std::to_string(grid.query().rowCount()) + " rows, name " +
                               (name.isEmpty() ? "empty" : name.toStdString());
    report(figure.c_str(), worker, peer, "target <= 1.05");
    std::printf("%44s %9.4f s | on the interface thread %9.4f s | ratio %.2f | target <= 1.05\n",
                "through the worker", worker, synchronous, worker / synchronous);
    std::printf("%44s %s\n", "", window.Panel4->text().toStdString().c_str());
}

// From a window's construction to its first screen painted.
template <typename Window> double firstScreen(Connection& connection, int runs) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, secondsOf([&] {
                            Window window(connection);
                            window.show();
                            window.repaint();
                        }));
    return best;
}

// A database holding 1,000 warehouses and nothing else of interest.
std::string thousandWarehouses() {
    const std::string file = "/tmp/stockquery-1000-warehouses.sqlite";
    std::filesystem::remove(file);
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE Warehouse (cWhCode NVARCHAR(10) PRIMARY KEY, cWhName NVARCHAR(20));"
                 "BEGIN",
                 nullptr, nullptr, nullptr);
    for (int i = 1; i <= 1000; ++i) {
        const std::string sql = "INSERT INTO Warehouse VALUES ('" +
                                std::to_string(10000 + i).substr(1) + "', '第" + std::to_string(i) +
                                "号仓库')";
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return file;
}

void benchPicker(int runs) {
    const std::string file = thousandWarehouses();
    Tfrm_xclquery window;
    window.ado_conn.setSettings({"sqlite:" + file, "d", "u", ""});
    window.ado_conn.open();
    double ours = 1e9;
    double peer = 1e9;
    int listed = 0;
    for (int i = 0; i < runs; ++i) {
        Tfrm_store picker(window.ado_conn, *window.lbb_store);
        ours = std::min(ours, secondsOf([&] { picker.show(); }));
        listed = picker.clb_store->count();
        peer = std::min(
            peer,
            sqliteShellRun(file, "select cwhcode,cwhname\r\nfrom warehouse\r\norder by cwhcode\r\n")
                .seconds);
    }
    const std::string figure = "picker lists " + std::to_string(listed) + " warehouses";
    report(figure.c_str(), ours, peer, "target <= 0.050 s");
    std::filesystem::remove(file);
}

} // namespace

int main(int argc, char** argv) {
    const auto arguments = benchArguments(argc, argv, "query_bench LARGE_DEMO_FILE [RUNS]", 5);
    if (!arguments)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string& file = arguments->file;
    const int runs = arguments->runs;
    Tfrm_xclquery window;
    window.ado_conn.setSettings({"sqlite:" + file, "demo", "demo", ""});
    window.ado_conn.open();
    for (const QString name : {"", "轴承"})
        benchRunQuery("current-stock", window, *window.dbg_xclinfo, file, name, runs);
    Tfrm_crquery journal(window.ado_conn);
    journal.dates->setDate(QDate(1900, 1, 1));
    journal.datee->setDate(QDate(9999, 12, 31));
    for (const QString name : {"", "轴承"})
        benchRunQuery("journal", journal, *journal.dbg_crinfo, file, name, runs);
    const QDate today = QDate::currentDate();
    Tfrm_summary summary(window.ado_conn);
    summary.FormShow(); // this month
    benchRunQuery("summary this month", summary, *summary.grid(), file, "", runs);
    summary.dates->setDate(QDate(today.year(), 1, 1));
    benchRunQuery("summary this year", summary, *summary.grid(), file, "", runs);
    Tfrm_stockcard card(window.ado_conn);
    card.edt_whcode->setText("99"); // the large demo's item with the most lines
    card.edt_code->setText("X900061");
    card.dates->setDate(QDate(today.year(), 1, 1));
    benchRunQuery("stock card this year", card, *card.grid(), file, "", runs);
    const double summaryShown = firstScreen<Tfrm_summary>(window.ado_conn, runs);
    const double journalShown = firstScreen<Tfrm_crquery>(window.ado_conn, runs);
    std::printf("%-44s %9.4f s | journal window %9.4f s | ratio %.2f | target <= 1 s\n",
                "summary window first screen", summaryShown, journalShown,
                summaryShown / journalShown);
    benchPicker(runs);
    return 0;
}
