#pragma once

#include "MarkupCache.h"
#include "TDBGridExport.h"

// One HTML 3.2 page holding one table: the title row, a row per record and the footer row,
// each cell with its width, alignment, background colour and font.
class TDBGridExportAsHTML : public TDBGridExport {
protected:
    void BeginDocument() override;
    void EndDocument() override;
    void EmitTitleRows(const std::vector<ExportColumn>& columns) override;
    void EmitRecordRow(const std::vector<ExportColumn>& columns) override;
    void EmitDataCell(const ExportColumn& column, const TColCellParams& params) override;
    void EmitFooterRow(const std::vector<ExportColumn>& columns, int row) override;
    void EmitFooterCell(std::size_t column, int row, const QString& text, Alignment alignment,
                        QRgb background, const ExportFont& font,
                        const ExportColumn& exported) override;

private:
    // The tags before and after a cell's text.
    struct Tags {
        QString open;
        QString close;
    };
    Tags fontRunTags(const ExportFont& font) const;
    void FontRun(const Tags& tags, const QString& text);
    void cell(std::size_t column, const CellLook& look, const QString& text);

    MarkupCache<Tags> cells_;
};

// A colour as six upper-case hexadecimal digits, red, green, blue.
QString HtmlColour(QRgb colour);
