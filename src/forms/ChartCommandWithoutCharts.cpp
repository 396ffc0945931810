#include "ChartCommand.h"

// A build without Qt Charts offers no 图表.
bool chartsAvailable() {
    return false;
}

void showChartsCommand(WindowWork&, QWidget*, ResultGrid&, std::vector<ChartRequest>) {}
