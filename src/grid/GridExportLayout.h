#pragma once

#include "table/ExportLayout.h"

class ResultGrid;

// The grid as the export sees it: its shown columns in display order with their titles as
// they read now (sort markers included), widths, fonts, colours and footers.
ExportLayout exportLayout(const ResultGrid& grid);
