// The current-stock grid on a 1,000,000-row result: painting one full screen (1600 × 900,
// rendered to an image) at the top, the middle and the end, beside a plain Qt table view of
// the same size and row count; and the memory the grid adds for the rows of the result, beside
// the same shown grid over no rows and beside the plain table view; copying every row picked
// with Ctrl+A as tab-separated text with titles, beside the text export of the same rows.
//   grid_paint_bench LARGE_DEMO_FILE [RUNS]
#include "BenchArguments.h"
#include "BenchProcess.h"
#include "DemoQuery.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "export/ClipboardText.h"
#include "export/TDBGridExportAsText.h"
#include "grid/GridBody.h"
#include "grid/GridExportLayout.h"
#include "grid/ResultGrid.h"
#include "stock/CurrentStockColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"
#include "table/TableSnapshot.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>

#include <cstdio>
#include <filesystem>
#include <malloc.h>
#include <memory>
#include <sstream>

namespace {

// The peer: Qt's own table view over a model with the same shape and short fixed texts.
class PlainModel : public QAbstractTableModel {
public:
    PlainModel(int rows, int columns) : rows_(rows), columns_(columns) {}
    int rowCount(const QModelIndex& = {}) const override { return rows_; }
    int columnCount(const QModelIndex& = {}) const override { return columns_; }
    QVariant data(const QModelIndex& index, int role) const override {
        return role == Qt::DisplayRole ? QVariant(QString::number(index.row())) : QVariant();
    }

private:
    int rows_;
    int columns_;
};

// Heap bytes in use now (freed memory that stays resident does not count).
double heapInUse() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<double>(heap.uordblks + heap.hblkhd);
}

// The heap a widget holds while shown at 1600 × 900 and painted once.
template <typename Widget> double shownCost(Widget& widget, double before) {
    widget.resize(1600, 900);
    widget.show();
    QApplication::processEvents();
    widget.grab();
    return heapInUse() - before;
}

struct ShownGrid {
    explicit ShownGrid(ResultQuery& query)
        : before(heapInUse()), grid(std::make_unique<ResultGrid>(query, currentStockColumns(),
                                                                 kCurrentStockFrozenColumns)) {
        grid->beginQueryChange();
        grid->endQueryChange();
        cost = shownCost(*grid, before);
    }
    double before;
    std::unique_ptr<ResultGrid> grid;
    double cost = 0;
};

struct ShownPlainTable {
    explicit ShownPlainTable(int rows)
        : before(heapInUse()), model(rows, static_cast<int>(currentStockColumns().size())) {
        table.setModel(&model);
        table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table.verticalHeader()->setDefaultSectionSize(18);
        cost = shownCost(table, before);
    }
    double before;
    PlainModel model;
    QTableView table;
    double cost = 0;
};

constexpr double kMiB = 1048576.0;

// The best time of painting `widget` into an image with its vertical scroll bar at `value`.
double paintSeconds(QWidget& widget, QScrollBar& vertical, int value, int runs) {
    vertical.setValue(value);
    QApplication::processEvents();
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, secondsOf([&] { widget.grab(); }));
    return best;
}

} // namespace

int main(int argc, char** argv) {
    const auto arguments =
        benchArguments(argc, argv, "grid_paint_bench LARGE_DEMO_FILE [RUNS]", 10);
    if (!arguments)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = arguments->runs;
    DemoQuery demo(arguments->file, currentStockStatement({}), currentStockFields());
    CurrentStockCriteria nothing;
    nothing.name = "no such item";
    DemoQuery none(arguments->file, currentStockStatement(nothing), currentStockFields());
    ResultQuery& query = demo.query;
    const int rows = static_cast<int>(query.rowCount());

    // A first shown grid and table pay once for what later windows share (fonts, glyphs).
    ShownGrid{none.query};
    ShownPlainTable{0};
    const double emptyGrid = ShownGrid{none.query}.cost;
    const double emptyTable = ShownPlainTable{0}.cost;
    const double fullTable = ShownPlainTable{rows}.cost;
    ShownGrid shown(query);
    ResultGrid& grid = *shown.grid;
    ShownPlainTable plainShown(rows);
    QTableView& plain = plainShown.table;

    std::printf("current-stock grid, %d rows, 1600 x 900, best of %d paints:\n", rows, runs);
    for (const auto& [name, fraction] : {std::pair{"top", 0.0}, {"middle", 0.5}, {"end", 1.0}}) {
        QScrollBar& ours = *grid.body()->verticalScrollBar();
        QScrollBar& peer = *plain.verticalScrollBar();
        const double oursSeconds =
            paintSeconds(grid, ours, static_cast<int>(ours.maximum() * fraction), runs);
        const double peerSeconds =
            paintSeconds(plain, peer, static_cast<int>(peer.maximum() * fraction), runs);
        std::printf("  paint at the %-6s %7.2f ms | plain QTableView %7.2f ms | target <= 10 ms\n",
                    name, oursSeconds * 1000, peerSeconds * 1000);
    }
    const double result = static_cast<double>(query.result().memoryBytes());
    std::printf("heap in use while shown at 1600 x 900 (the result set %.1f MiB):\n",
                result / kMiB);
    std::printf("  grid over %d rows %6.1f MiB | over no rows %6.1f MiB | the rows add %5.2f MiB "
                "= %.2f %% of the result (target <= 5 %%); the whole shown grid %.1f %%\n",
                rows, shown.cost / kMiB, emptyGrid / kMiB, (shown.cost - emptyGrid) / kMiB,
                100.0 * (shown.cost - emptyGrid) / result, 100.0 * shown.cost / result);
    std::printf("  plain QTableView  %6.1f MiB | over no rows %6.1f MiB | the rows add %5.2f MiB "
                "= %.2f %% of the result\n",
                fullTable / kMiB, emptyTable / kMiB, (fullTable - emptyTable) / kMiB,
                100.0 * (fullTable - emptyTable) / result);

    QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    QApplication::sendEvent(grid.body(), &selectAll);
    double copy = 1e9;
    double exported = 1e9;
    std::size_t characters = 0;
    const ExportLayout layout = exportLayout(grid);
    for (int i = 0; i < std::min(runs, 3); ++i) {
        copy = std::min(copy, secondsOf([&] {
                            const CopiedRows copied = grid.body()->rowsToCopy(true);
                            characters = copiedText(query, copied, WorkControl()).size();
                        }));
        exported = std::min(exported, secondsOf([&] {
                                std::ostringstream out;
                                TDBGridExportAsText().WriteGridToStream(out, layout, query);
                            }));
    }
    std::printf("copy of all %zu picked rows %7.3f s (%zu characters), %.3f s per 100,000 rows | "
                "text export of them %7.3f s | target <= 1 s per 100,000 rows\n",
                grid.body()->selection().count(), copy, characters, copy * 100000.0 / rows,
                exported);
    return 0;
}
