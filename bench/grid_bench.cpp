// The grid's work on the 1,000,000-row results of both windows: sorting by a quantity, by the
// item name and by codes (collation keys included) beside the sqlite3 shell running the
// statement with ORDER BY that column, and the footer sum pass beside the shell summing the
// same columns; find on the spot beside the whole count; the charts' figures beside a plain
// loop adding up the same columns.
//   grid_bench LARGE_DEMO_FILE [RUNS]
#include "BenchArguments.h"
#include "DemoQuery.h"
#include "SqliteShell.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "grid/FindBar.h"
#include "journal/JournalColumns.h"
#include "journal/JournalFields.h"
#include "journal/JournalStatement.h"
#include "stock/CurrentStockColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"
#include "table/ChartFigures.h"
#include "table/FooterSums.h"
#include "table/TableFind.h"
#include "table/TableSnapshot.h"

#include <cstdio>
#include <filesystem>
#include <functional>

namespace {

void report(const std::string& figure, double ours, double peer, const char* peerName,
            const char* target) {
    std::printf("%-36s %8.4f s | %-34s %8.4f s | %s\n", figure.c_str(), ours, peerName, peer,
                target);
}

// Sorts by each of `sortFields` (the first a quantity) and runs the sum pass of `columns`.
void benchResult(const char* name, const std::string& file, const std::vector<std::string>& lines,
                 const std::vector<FieldDecl>& fields, const std::vector<GridColumn>& columns,
                 const std::vector<std::string>& sortFields, int runs) {
    DemoQuery demo(file, lines, fields);
    ResultQuery& query = demo.query;
    const std::string statement = query.commandText();
    std::printf("%s result: %zu rows\n", name, query.rowCount());
    for (const std::string& field : sortFields) {
        double ours = 1e9;
        for (int i = 0; i < runs; ++i) {
            query.setSortOrder("");
            ours = std::min(ours, secondsOf([&] { query.setSortOrder(field + " ASC"); }));
        }
        const double peer = bestShellSeconds(file, statement + " ORDER BY " + field, runs);
        report("sort by " + field, ours, peer, "sqlite3 shell, ORDER BY", "target <= 0.4 s");
    }

    // Find: what a keystroke looks at on the interface thread (the nearest hit, at most the
    // rows the find bar looks at nearby) beside the whole count its worker makes.
    std::vector<std::size_t> shown;
    for (const GridColumn& column : columns)
        if (const auto index = query.result().findColumn(column.field))
            shown.push_back(*index);
    for (const QString& needle : {QString("深沟球"), QString("B0009999"), QString("没有这些字")}) {
        double onTheSpot = 1e9, whole = 1e9;
        int hit = -1;
        std::size_t count = 0;
        for (int i = 0; i < runs; ++i) {
            TableFind nearby(needle, shown);
            onTheSpot = std::min(onTheSpot, secondsOf([&] {
                                     hit = nearby.nearestHit(query, 0, true, FindBar::kNearbyRows);
                                 }));
            TableFind all(needle, shown);
            WorkControl control;
            whole = std::min(whole, secondsOf([&] { count = all.allHits(query, control).size(); }));
        }
        report("find " + needle.toStdString() + ", first hit " + std::to_string(hit), onTheSpot,
               whole, ("whole count (" + std::to_string(count) + ") on the worker").c_str(),
               "target <= 0.1 s");
    }

    std::vector<std::string> sumFields;
    for (const GridColumn& column : columns)
        if (column.footer == FooterValue::Sum)
            sumFields.push_back(column.field);
    FooterSums sums(sumFields);
    query.setSortOrder(""); // the pass runs when the query opens, in the database's order
    double ours = 1e9;
    for (int i = 0; i < runs; ++i)
        ours = std::min(ours, secondsOf([&] { sums.recompute(query); }));
    std::string sumSql = "SELECT ";
    for (const std::string& field : sumFields)
        sumSql += (sumSql.size() > 7 ? ", SUM(" : "SUM(") + field + ")";
    const double peer = bestShellSeconds(file, sumSql + " FROM (" + statement + ")", runs);
    report("footer sum pass (" + std::to_string(sumFields.size()) + " sums)", ours, peer,
           "sqlite3 shell, SUM over the statement", "target <= 0.050 s");
}

// A chart's figures beside a plain loop that adds up the same columns over every row.
void benchFigures(const std::string& figure, const ResultQuery& query,
                  const std::vector<std::string>& values,
                  const std::function<std::vector<FigureGroup>(
                      const TableSnapshot&, const std::vector<std::size_t>&)>& figures,
                  int runs) {
    const TableSnapshot rows(query);
    std::vector<std::size_t> columns;
    for (const std::string& value : values)
        columns.push_back(query.fieldIndex(value));
    double ours = 1e9, loop = 1e9;
    std::size_t groups = 0;
    double check = 0;
    for (int i = 0; i < runs; ++i) {
        ours = std::min(ours, secondsOf([&] { groups = figures(rows, columns).size(); }));
        loop = std::min(loop, secondsOf([&] {
                            for (const std::size_t column : columns) {
                                const ResultColumn& values = query.result().column(column);
                                for (std::size_t row = 0; row < values.size(); ++row)
                                    check += values.asFloat(row);
                            }
                        }));
    }
    report(figure + " (" + std::to_string(groups) + ")", ours, loop,
           check != 0 ? "plain loop adding the columns" : "plain loop (all zero)",
           "target <= 0.3 s");
}

} // namespace

int main(int argc, char** argv) {
    const auto arguments = benchArguments(argc, argv, "grid_bench LARGE_DEMO_FILE [RUNS]", 5);
    if (!arguments)
        return 2;
    const std::string& file = arguments->file;
    const int runs = arguments->runs;
    benchResult("current-stock", file, currentStockStatement({}), currentStockFields(),
                currentStockColumns(), {"现存量", "存货名称", "批号"}, runs);
    benchResult("journal", file, journalStatement(wholeJournal()), journalFields(),
                journalColumns(), {"入库数量", "存货名称", "存货代码", "单据号"}, runs);

    const WorkControl control;
    DemoQuery stock(file, currentStockStatement({}), currentStockFields());
    const std::size_t warehouse = stock.query.fieldIndex("仓库名称");
    const std::size_t item = stock.query.fieldIndex("存货编码");
    const std::size_t name = stock.query.fieldIndex("存货名称");
    benchFigures(
        "chart: 现存量 by warehouse", stock.query, {"现存量"},
        [&](const TableSnapshot& rows, const std::vector<std::size_t>& values) {
            return totalsByText(rows, warehouse, values, control);
        },
        runs);
    benchFigures(
        "chart: 20 items with most stock", stock.query, {"现存量"},
        [&](const TableSnapshot& rows, const std::vector<std::size_t>& values) {
            return largestGroups(totalsByText(rows, item, values, control, name), 20);
        },
        runs);
    DemoQuery journal(file, journalStatement(wholeJournal()), journalFields());
    const std::size_t date = journal.query.fieldIndex("单据日期");
    const std::size_t store = journal.query.fieldIndex("仓库");
    benchFigures(
        "chart: in/out by month", journal.query, {"入库数量", "出库数量"},
        [&](const TableSnapshot& rows, const std::vector<std::size_t>& values) {
            return totalsByMonth(rows, date, values, control);
        },
        runs);
    benchFigures(
        "chart: in/out by warehouse", journal.query, {"入库数量", "出库数量"},
        [&](const TableSnapshot& rows, const std::vector<std::size_t>& values) {
            return totalsByText(rows, store, values, control);
        },
        runs);
    return 0;
}
