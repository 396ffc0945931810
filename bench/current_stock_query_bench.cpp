// The current-stock query run from the main window, from the call to the count shown, beside
// the sqlite3 shell running the same statement text; and the warehouse picker listing 1,000
// warehouses, beside the shell reading the same warehouse statement.
//   current_stock_query_bench LARGE_DEMO_FILE [RUNS]
#include "BenchProcess.h"
#include "app/Tfrm_xclquery.h"
#include "common/Tfrm_store.h"
#include "connection/sqlite/TsqlToSqlite.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

Measurement shellRun(const std::string& file, const std::string& statement, bool attachDbo) {
    const std::string sqlFile = "/tmp/stockquery-query-bench.sql";
    std::ofstream(sqlFile) << tsqlToSqlite(statement) << ";\n";
    std::vector<std::string> shell = {"sqlite3", "-readonly", "-batch", "-cmd", ".mode tabs"};
    if (attachDbo) {
        shell.push_back("-cmd");
        shell.push_back("ATTACH '" + file + "' AS dbo");
    }
    shell.push_back(file);
    return measureProgram(shell, sqlFile, "/dev/null");
}

void report(const char* figure, double ours, double peer, const char* target) {
    std::printf("%-44s %9.4f s | sqlite3 shell %9.4f s | ratio %.2f | %s\n", figure, ours, peer,
                ours / peer, target);
}

void benchRunQuery(Tfrm_xclquery& window, const std::string& file, const QString& name, int runs) {
    window.edt_name->setText(name);
    double ours = 1e9;
    double peer = 1e9;
    for (int i = 0; i < runs; ++i) {
        ours = std::min(ours, secondsOf([&] { window.RunQuery(); }));
        peer = std::min(peer, shellRun(file, window.ado_xclinfo.commandText(), true).seconds);
    }
    const std::string figure = "RunQuery, " + std::to_string(window.ado_xclinfo.rowCount()) +
                               " rows, name " + (name.isEmpty() ? "empty" : name.toStdString());
    report(figure.c_str(), ours, peer, "target <= 1.05");
    std::printf("%44s %s\n", "", window.Panel4->text().toStdString().c_str());
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
        Tfrm_store picker(*window.lbb_store);
        ours = std::min(ours, secondsOf([&] { picker.show(); }));
        listed = picker.clb_store->count();
        peer = std::min(peer, shellRun(file,
                                       "select cwhcode,cwhname\r\nfrom warehouse\r\norder by "
                                       "cwhcode\r\n",
                                       false)
                                  .seconds);
    }
    const std::string figure = "picker lists " + std::to_string(listed) + " warehouses";
    report(figure.c_str(), ours, peer, "target <= 0.050 s");
    std::filesystem::remove(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: current_stock_query_bench LARGE_DEMO_FILE [RUNS]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string file = std::filesystem::absolute(argv[1]).string();
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    Tfrm_xclquery window;
    window.ado_conn.setSettings({"sqlite:" + file, "demo", "demo", ""});
    window.ado_conn.open();
    benchRunQuery(window, file, "", runs);
    benchRunQuery(window, file, "轴承", runs);
    benchPicker(runs);
    return 0;
}
