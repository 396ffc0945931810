#pragma once

#include "TDBGridExport.h"

#include <cstdint>

// A minimal Excel worksheet in BIFF records: beginning of file, one cell record per title,
// data and footer cell, end of file. Numbers go into number cells with their full value,
// texts and dates into text cells as the grid shows them, nulls into blank cells; no formats,
// fonts, colours or widths.
class TDBGridExportAsXLS : public TDBGridExport {
public:
    // The records a worksheet holds beside its title and total rows.
    static constexpr std::size_t kMaxRecords = 65534;
    void WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                           const TableSnapshot& query) override;

protected:
    void CheckFits(const TableSnapshot& query) const override;
    void BeginDocument() override;
    void EndDocument() override;
    void EmitTitleRows(const std::vector<ExportColumn>& columns) override;
    void EmitDataCell(const ExportColumn& column, const TColCellParams& params) override;
    void EmitFooterCell(std::size_t column, int row, const QString& text, Alignment alignment,
                        QRgb background, const ExportFont& font,
                        const ExportColumn& exported) override;

private:
    void record(std::uint16_t type, const QByteArray& data);
    // The cell's row, column and format index, then the cursor moves on.
    QByteArray cellHead(std::uint16_t format = 0);
    void blankCell();
    void numberCell(double value);
    void integerCell(std::int32_t value);
    void textCell(const QString& text);

    std::uint32_t row_ = 0;
    std::uint16_t column_ = 0;
};
