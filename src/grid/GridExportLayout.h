#pragma once

#include "table/TableView.h"

class ResultGrid;

// How the grid shows its table now: the columns as its title row has them (moved, hidden,
// resized), its font, palette and screen.
TableView tableView(const ResultGrid& grid);

// The grid's table as the export sees it.
ExportLayout exportLayout(const ResultGrid& grid);
