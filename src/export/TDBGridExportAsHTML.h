#pragma once

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
    void cell(int width, Alignment alignment, const QString& background, const ExportFont& font,
              const QString& text);
    void FontRun(const ExportFont& font, const QString& text);
};

// A colour as six upper-case hexadecimal digits, red, green, blue.
QString HtmlColour(QRgb colour);
