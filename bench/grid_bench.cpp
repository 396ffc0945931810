// The grid's work on the 1,000,000-row results of both windows: sorting by a quantity, by the
// item name and by codes (collation keys included) beside the sqlite3 shell running the
// statement with ORDER BY that column, and the footer sum pass beside the shell summing the
// same columns; find on the spot beside the whole count; the charts' figures beside a plain
// loop adding up the same columns; a print of every row (its document made with the footer
// added up, its first and last page drawn) beside the same plain loop.
//   grid_bench LARGE_DEMO_FILE [RUNS]
#include "BenchArguments.h"
#include "DemoQuery.h"
#include "SqliteShell.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "grid/FindBar.h"
#include "journal/JournalColumns.h"
#include "journal/JournalFields.h"
#include "journal/JournalQuery.h"
#include "journal/JournalStatement.h"
#include "pages/PrintDocument.h"
#include "stock/CurrentStockColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockQuery.h"
#include "stock/CurrentStockStatement.h"
#include "table/ChartFigures.h"
#include "table/FooterSums.h"
#include "table/ResultTableModel.h"
#include "table/TableFind.h"
#include "table/TableSnapshot.h"
#include "table/TableView.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

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

// What a plain loop over every row of `values` takes: the peer of the charts and the print.
double plainLoopSeconds(const ResultQuery& query, const std::vector<std::string>& values,
                        double& check) {
    return secondsOf([&] {
        for (const std::string& value : values) {
            const ResultColumn& column = query.result().column(query.fieldIndex(value));
            for (std::size_t row = 0; row < column.size(); ++row)
                check += column.asFloat(row);
        }
    });
}

// A chart's figures as the chart window asks for them, beside a plain loop that adds up the
// same columns over every row.
void benchChart(const ChartRequest& request, const ResultQuery& query, int runs) {
    const TableSnapshot rows(query);
    const WorkControl control;
    double ours = 1e9, loop = 1e9, check = 0;
    std::size_t groups = 0;
    for (int i = 0; i < runs; ++i) {
        ours = std::min(ours,
                        secondsOf([&] { groups = chartFigures(request, rows, control).size(); }));
        loop = std::min(loop, plainLoopSeconds(query, request.values, check));
    }
    report("chart: " + request.title.toStdString() + " (" + std::to_string(groups) + ")", ours,
           loop, check != 0 ? "plain loop adding the columns" : "plain loop (all zero)",
           "target <= 0.3 s");
}

// A print of every row on landscape A4: the document made on the worker (the footer added
// up), then its first and its last page drawn as the preview draws them, each beside a plain
// loop over the summed columns.
void benchPrint(const char* name, ResultQuery& query, const QueryShape& shape, int runs) {
    ResultTableModel table(query, shape.columns);
    const ExportLayout layout = exportLayout(table, startingView(table, shape));
    std::vector<std::string> summed;
    for (const GridColumn& column : shape.columns)
        if (column.footer == FooterValue::Sum)
            summed.push_back(column.field);
    const WorkControl control;
    double made = 1e9, first = 1e9, last = 1e9, loop = 1e9, check = 0;
    std::size_t pages = 0;
    QImage page(1123, 794, QImage::Format_RGB32); // A4 landscape at 96 dpi
    for (int i = 0; i < runs; ++i) {
        std::unique_ptr<PrintDocument> document;
        made = std::min(
            made, secondsOf([&] {
                document = std::make_unique<PrintDocument>(
                    layout, TableSnapshot(query), PageFrame{shape.caption, "", ""}, control);
                document->setPageArea(pdfPageLayout().paintRectPixels(PagePlan::kGridDpi).size());
            }));
        pages = document->pageCount();
        const auto draw = [&](std::size_t index) {
            return secondsOf([&] {
                page.fill(Qt::white);
                QPainter painter(&page);
                document->paint(painter, index);
            });
        };
        first = std::min(first, draw(0));
        last = std::min(last, draw(pages - 1));
        loop = std::min(loop, plainLoopSeconds(query, summed, check));
    }
    const std::string figure = std::string("print ") + name + ": ";
    report(figure + "document (" + std::to_string(pages) + " pages)", made, loop,
           "plain loop over the summed columns", "on the worker");
    report(figure + "first page drawn", first, loop, "plain loop over the summed columns",
           "target: at once");
    report(figure + "last page drawn", last, loop, "plain loop over the summed columns",
           "target: at once");
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

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv); // fonts, for the printed pages
    DemoQuery stock(file, currentStockStatement({}), currentStockFields());
    benchChart({.title = "现存量 by warehouse", .key = "仓库名称", .values = {"现存量"}},
               stock.query, runs);
    benchChart({.title = "20 items with most stock",
                .key = "存货编码",
                .values = {"现存量"},
                .name = "存货名称",
                .largest = 20},
               stock.query, runs);
    DemoQuery journal(file, journalStatement(wholeJournal()), journalFields());
    benchChart({.title = "in/out by month",
                .key = "单据日期",
                .values = {"入库数量", "出库数量"},
                .groups = ChartRequest::Groups::ByMonth},
               journal.query, runs);
    benchChart({.title = "in/out by warehouse", .key = "仓库", .values = {"入库数量", "出库数量"}},
               journal.query, runs);
    benchPrint("current stock", stock.query, currentStockQuery().shape, runs);
    benchPrint("journal", journal.query, journalQuery().shape, runs);
    return 0;
}
