// 筛选 on the 1,000,000-row current stock of the large demo: a filter on a text column (two
// warehouses) and on a number range (现存量 below 0) beside a plain loop over the same column;
// the value list of 存货名称 with its counts; and the sums, a copy and a text export of the
// filtered rows beside the same number of rows unfiltered.
//   filter_bench LARGE_DEMO_FILE [RUNS]
#include "BenchArguments.h"
#include "BenchProcess.h"
#include "DemoQuery.h"
#include "db/WorkControl.h"
#include "export/ClipboardText.h"
#include "export/TDBGridExportAsText.h"
#include "stock/CurrentStockQuery.h"
#include "table/DistinctValues.h"
#include "table/ResultTableModel.h"
#include "table/RowFilter.h"
#include "table/TableSnapshot.h"
#include "table/TableView.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace {

void report(const char* figure, double ours, const char* peerName, double peer,
            const char* target) {
    std::printf("%-34s %8.4f s | %-30s %8.4f s | ratio %5.2f | %s\n", figure, ours, peerName, peer,
                ours / peer, target);
}

ColumnFilter on(const char* field, FieldKind kind) {
    ColumnFilter filter;
    filter.field = field;
    filter.caption = field;
    filter.fieldKind = kind;
    return filter;
}

} // namespace

int main(int argc, char** argv) {
    const auto arguments = benchArguments(argc, argv, "filter_bench LARGE_DEMO_FILE [RUNS]", 3);
    if (!arguments)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const auto& stock = currentStockQuery();
    DemoQuery demo(arguments->file, stock.statement(CurrentStockCriteria{}), stock.shape.fields);
    ResultQuery& query = demo.query;
    ResultTableModel table(query, stock.shape.columns);
    table.beginQueryChange();
    table.endQueryChange();
    const ResultSet& rows = query.result();
    std::printf("current stock: %zu rows\n", rows.rowCount());
    WorkControl control;

    // Two warehouses by name, beside a loop comparing the same column's texts.
    const ResultColumn& warehouse = rows.column(query.fieldIndex("仓库名称"));
    const std::string first(warehouse.text(0));
    const std::string last(warehouse.text(rows.rowCount() - 1));
    ColumnFilter two = on("仓库名称", FieldKind::Text);
    two.texts = {QString::fromStdString(first), QString::fromStdString(last)};
    RowFilter byName;
    byName.set(two);
    std::vector<std::uint8_t> shown;
    const double named =
        bestSecondsOf(arguments->runs, [&] { shown = byName.passing(rows, CellText(), control); });
    std::size_t loopCount = 0;
    const double namedLoop = bestSecondsOf(arguments->runs, [&] {
        loopCount = 0;
        for (std::size_t row = 0; row < rows.rowCount(); ++row)
            loopCount += warehouse.text(row) == first || warehouse.text(row) == last;
    });
    std::printf("  %zu rows of two warehouses (the loop: %zu)\n",
                static_cast<std::size_t>(std::count(shown.begin(), shown.end(), 1)), loopCount);
    report("filter 仓库名称, two names", named, "a loop comparing the texts", namedLoop, "≤ 0.3 s");

    // Below zero, beside a loop reading the same numbers.
    const ResultColumn& onHand = rows.column(query.fieldIndex("现存量"));
    ColumnFilter below = on("现存量", FieldKind::Decimal);
    below.kind = ColumnFilter::Kind::Range;
    below.high = 0;
    below.highStrict = true;
    RowFilter byRange;
    byRange.set(below);
    const double ranged =
        bestSecondsOf(arguments->runs, [&] { shown = byRange.passing(rows, CellText(), control); });
    const double rangedLoop = bestSecondsOf(arguments->runs, [&] {
        loopCount = 0;
        for (std::size_t row = 0; row < rows.rowCount(); ++row)
            loopCount += !onHand.isNull(row) && onHand.integer(row) < 0;
    });
    report("filter 现存量 < 0", ranged, "a loop comparing the numbers", rangedLoop, "≤ 0.3 s");

    // The value list of item names.
    const ResultColumn& names = rows.column(query.fieldIndex("存货名称"));
    std::vector<DistinctValue> values;
    const double listed = bestSecondsOf(
        arguments->runs, [&] { values = distinctValues(names, {}, CellText(), control); });
    std::printf("  %zu names listed\n", values.size());
    report("value list of 存货名称", listed, "filter 仓库名称 (above)", named, "≤ 0.5 s");

    // The filtered rows' sums, copy and export, beside as many rows unfiltered: the first ones.
    table.showFiltered(byName, byName.passing(rows, CellText(), control));
    const std::size_t count = query.rowCount();
    const TableSnapshot filtered(query);
    const double filteredSums =
        bestSecondsOf(arguments->runs, [&] { FooterSums(table.sums()).recompute(query); });
    std::vector<std::uint8_t> firstRows(rows.rowCount(), 0);
    std::fill_n(firstRows.begin(), count, 1);
    query.setShownRows(firstRows);
    const TableSnapshot plain(query);
    const double plainSums =
        bestSecondsOf(arguments->runs, [&] { FooterSums(table.sums()).recompute(query); });
    std::printf("  %zu rows filtered, beside the first %zu rows\n", count, plain.rowCount());
    report("sums of the filtered rows", filteredSums, "sums of as many rows", plainSums,
           "ratio ≤ 1");

    CopiedRows copied;
    for (const std::size_t column : table.resultColumns())
        copied.columns.push_back(column);
    copied.rows.resize(count);
    std::iota(copied.rows.begin(), copied.rows.end(), 0);
    const double filteredCopy =
        bestSecondsOf(arguments->runs, [&] { copiedText(filtered, copied, control); });
    const double plainCopy =
        bestSecondsOf(arguments->runs, [&] { copiedText(plain, copied, control); });
    report("copy of the filtered rows", filteredCopy, "copy of as many rows", plainCopy,
           "ratio ≤ 1");

    const ExportLayout layout = exportLayout(table, startingView(table, stock.shape));
    const QString out = "/tmp/stockquery-filter-bench.txt";
    const double filteredExport = bestSecondsOf(
        arguments->runs, [&] { TDBGridExportAsText().WriteGridToFile(out, layout, filtered); });
    const double plainExport = bestSecondsOf(
        arguments->runs, [&] { TDBGridExportAsText().WriteGridToFile(out, layout, plain); });
    report("text export of the filtered rows", filteredExport, "export of as many rows",
           plainExport, "ratio ≤ 1");
    std::remove(out.toStdString().c_str());
    return 0;
}
