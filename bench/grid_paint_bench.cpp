// The current-stock grid on a 1,000,000-row result: painting one full screen (1600 × 900,
// rendered to an image) at the top, the middle and the end, beside a plain Qt table view of
// the same size and row count; and the memory the model and views add to the result set.
//   grid_paint_bench LARGE_DEMO_FILE [RUNS]
#include "BenchProcess.h"
#include "DemoQuery.h"
#include "common/ResultGrid.h"
#include "connection/Connection.h"
#include "connection/ResultQuery.h"
#include "stock/CurrentStockColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <cstdio>
#include <filesystem>

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
    if (argc < 2) {
        std::fprintf(stderr, "usage: grid_paint_bench LARGE_DEMO_FILE [RUNS]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    DemoQuery demo(argv[1], currentStockStatement({}), currentStockFields());
    ResultQuery& query = demo.query;
    const long before = statusKiB("VmRSS");

    ResultGrid grid(query, currentStockColumns(), kCurrentStockFrozenColumns);
    grid.beginQueryChange();
    grid.endQueryChange();
    grid.resize(1600, 900);
    grid.show();
    QApplication::processEvents();
    grid.grab();
    const double added = static_cast<double>(statusKiB("VmRSS") - before) * 1024.0;

    const int rows = static_cast<int>(query.rowCount());
    QTableView plain;
    PlainModel plainModel(rows, static_cast<int>(currentStockColumns().size()));
    plain.setModel(&plainModel);
    plain.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    plain.verticalHeader()->setDefaultSectionSize(18);
    plain.resize(1600, 900);
    plain.show();
    QApplication::processEvents();

    std::printf("current-stock grid, %d rows, 1600 x 900, best of %d paints:\n", rows, runs);
    for (const auto& [name, fraction] : {std::pair{"top", 0.0}, {"middle", 0.5}, {"end", 1.0}}) {
        QScrollBar& ours = *grid.view()->verticalScrollBar();
        QScrollBar& peer = *plain.verticalScrollBar();
        const double oursSeconds =
            paintSeconds(grid, ours, static_cast<int>(ours.maximum() * fraction), runs);
        const double peerSeconds =
            paintSeconds(plain, peer, static_cast<int>(peer.maximum() * fraction), runs);
        std::printf("  paint at the %-6s %7.2f ms | plain QTableView %7.2f ms | target <= 10 ms\n",
                    name, oursSeconds * 1000, peerSeconds * 1000);
    }
    const double result = static_cast<double>(query.result().memoryBytes());
    std::printf("memory: result set %.1f MiB; the grid's model and views added %.1f MiB "
                "resident (%.1f %%; target <= 5 %%)\n",
                result / 1048576.0, added / 1048576.0, 100.0 * added / result);
    return 0;
}
