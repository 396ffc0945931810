#pragma once

#include "TDBGridExport.h"
#include "pages/PagePainter.h"
#include "pages/PagePlan.h"

#include <QPainter>

#include <memory>
#include <optional>

class QIODevice;
class QPdfWriter;

// A PDF of the pages a print gives: landscape A4, the grid's columns at one scale, the titles
// on every page, the footer row after the last row, each page's number and the time it was
// written at its foot. The text stays text, in the fonts embedded, so a reader can select and
// search it. Pages are drawn a block of rows at a time as the walk goes.
class TDBGridExportAsPDF : public TDBGridExport {
public:
    TDBGridExportAsPDF();
    ~TDBGridExportAsPDF() override;

    void WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                           const TableSnapshot& query) override;

protected:
    void BeginDocument() override;
    void EndDocument() override;
    void EmitRecordRow(const std::vector<ExportColumn>& columns) override;
    void EmitDataCell(const ExportColumn&, const TColCellParams& cell) override;
    void EmitFooterCell(std::size_t, int row, const QString& text, Alignment alignment, QRgb colour,
                        const ExportFont& font, const ExportColumn&) override;

private:
    // The pages of the rows gathered so far, one for each band.
    void paintBlock();

    std::size_t rows_ = 0;
    std::unique_ptr<QIODevice> device_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    std::optional<PagePlan> plan_;
    std::optional<PagePainter> pages_;
    std::vector<std::vector<TColCellParams>> block_;
    std::vector<TColCellParams> row_;
    std::vector<TColCellParams> footer_;
    std::size_t nextPage_ = 0;
};
