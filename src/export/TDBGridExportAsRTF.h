#pragma once

#include "MarkupCache.h"
#include "TDBGridExport.h"

// An RTF document holding one table: the title row, a row per record and the footer row, with
// widths in twips, borders, shading, alignment, fonts and colours. The colour and font tables
// come first but are only known at the end, so the body is produced into memory and copied
// after them.
class TDBGridExportAsRTF : public TDBGridExport {
public:
    void WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                           const TableSnapshot& query) override;

protected:
    void EndDocument() override;
    void EmitTitleRows(const std::vector<ExportColumn>& columns) override;
    void EmitRecordRow(const std::vector<ExportColumn>& columns) override;
    void EmitDataCell(const ExportColumn& column, const TColCellParams& params) override;
    void EmitFooterRow(const std::vector<ExportColumn>& columns, int row) override;
    void EmitFooterCell(std::size_t column, int row, const QString& text, Alignment alignment,
                        QRgb background, const ExportFont& font,
                        const ExportColumn& exported) override;

private:
    int ColourIndex(QRgb colour);
    int FontIndex(const QString& family);
    int twips(int pixels) const;
    // The row's frame: borders, shading and right edge of each cell.
    QString RowFrame(const std::vector<ExportColumn>& columns, const std::vector<QRgb>& shading);
    // The control words before a cell's text.
    QString cellStart(Alignment alignment, int spacing, const ExportFont& font, QRgb background);
    void RtfCell(const QString& start, const QString& text);
    int cellSpacing() const { return layout().flat ? 12 : 24; }

    std::vector<QRgb> colours_;
    std::vector<QString> fonts_;
    QString recordFrame_; // the same for every record
    MarkupCache<QString> cells_;
};
