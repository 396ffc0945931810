#pragma once

#include "TDBGridExport.h"

// A PDF of the pages a print gives: landscape A4, the grid's columns at one scale, the titles
// on every page, the footer row after the last row, each page's number and the time it was
// written at its foot. The text stays text, in the fonts embedded, so a reader can select and
// search it. The pages are drawn one after the other from the rows in the grid's order.
class TDBGridExportAsPDF : public TDBGridExport {
public:
    void WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                           const TableSnapshot& query) override;
};
