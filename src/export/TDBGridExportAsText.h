#pragma once

#include "TDBGridExport.h"
#include "TextCellBytes.h"

#include <optional>
#include <string>

// Plain text: one line per title, record and footer row, cells separated by tabs, lines by
// CR LF with none after the last (unless written for a terminal); values written as they are,
// nothing quoted or escaped, except that a tab, CR or LF inside a value is one blank each, so that
// every row stays one line of the same cells.
class TDBGridExportAsText : public TDBGridExport {
public:
    void WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                           const TableSnapshot& query) override;
    void endLastLine() override { endLastLine_ = true; }

protected:
    void EmitTitleRows(const std::vector<ExportColumn>& columns) override;
    void EmitRecordRow(const std::vector<ExportColumn>& columns) override;
    void EmitDataCell(const ExportColumn& column, const TColCellParams& params) override;
    void EmitFooterRow(const std::vector<ExportColumn>& columns, int row) override;
    void EndDocument() override;
    void EmitFooterCell(std::size_t column, int row, const QString& text, Alignment alignment,
                        QRgb background, const ExportFont& font,
                        const ExportColumn& exported) override;

    void BreakBeforeRow();
    virtual void SeparateCell();
    // How a value goes into the file: as it is here, quoted in CSV; rows intact in both.
    virtual QString value(const QString& text) const;
    // Whether numbers go into the file as the grid shows them; CSV quotes them like any value.
    virtual bool numbersAsShown() const { return true; }
    // How the records' cells are made while numbers go as shown.
    virtual TextCellStyle cellStyle() const { return TextCellStyle::Cp936Text; }
    bool takeFirstCell();

private:
    // Records go out as bytes made by TextCellBytes, gathered in `rows_`.
    void flushRows();

    bool endLastLine_ = false;
    bool firstRow_ = true;
    bool firstCell_ = true;
    std::optional<TextCellBytes> cells_;
    std::string rows_;
};
