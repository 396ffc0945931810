#include "ChartCommand.h"

#include "ChartWindow.h"
#include "QueryFrame.h"
#include "WindowWork.h"
#include "grid/ResultGrid.h"
#include "table/TableSnapshot.h"

#include <memory>

void showChartsCommand(WindowWork& work, QWidget* window, ResultGrid& grid,
                       std::vector<ChartRequest> charts) {
    if (!resultReadyFor(work, window, grid, "画图表"))
        return;
    auto shown = std::make_shared<std::vector<ChartFiguresShown>>();
    work.start({
        [shown, charts = std::move(charts),
         rows = TableSnapshot(grid.query())](WorkControl& control) {
            for (const ChartRequest& chart : charts)
                shown->push_back({chart, chartFigures(chart, rows, control)});
        },
        [](const WorkControl&, double) { return QString("正在计算图表……"); },
        [&work, window, shown, caption = window->windowTitle(),
         criteria = grid.model()->criteriaAndFilterText()](std::exception_ptr error) {
            if (!succeeded(error, work, window, "图表"))
                return;
            auto* charts = new ChartWindow(caption, criteria, std::move(*shown), window);
            charts->setAttribute(Qt::WA_DeleteOnClose);
            charts->show();
        },
        WindowWork::Task::Uses::Nothing, // it holds the rows
    });
}
