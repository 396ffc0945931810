#pragma once

#include "table/ChartFigures.h"

#include <vector>

class QWidget;
class ResultGrid;
class WindowWork;

// A window's "图表": the groups of each chart added up on a worker as `work` from the result as
// the grid holds it, then a chart window over `window`, one tab a chart, which stays open
// beside it.
void showChartsCommand(WindowWork& work, QWidget* window, ResultGrid& grid,
                       std::vector<ChartRequest> charts);
