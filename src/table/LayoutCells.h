#pragma once

#include "ExportLayout.h"

#include <QString>

#include <cstdint>
#include <vector>

class CellText;
class ResultColumn;
class TableSnapshot;
class WorkControl;

// The cells of a laid-out table as files and printed pages show them, written once for both.

// A record's cell of a shown column: its font, colour, alignment and text; no text where the
// result has no such field.
TColCellParams dataCell(const ExportColumn& column, const ResultColumn* field, std::size_t row,
                        const CellText& text);

// A footer cell's text: the total of a sum footer (none for a text or date field), the static
// text, or nothing.
QString footerCellText(const ExportFooter& footer, const ResultColumn* field, std::int64_t total,
                       const CellText& text);

// The result's field of each shown column, none where the result has no such field.
std::vector<const ResultColumn*> shownFields(const ExportLayout& layout,
                                             const TableSnapshot& table);

// The first footer row over every row of the snapshot, totals added up as the grid's are. On
// any thread; throws WorkCancelled once `control` asks it to stop.
std::vector<TColCellParams> footerCells(const ExportLayout& layout, const TableSnapshot& table,
                                        const WorkControl& control);
