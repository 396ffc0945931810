#pragma once

#include "TDBGridExport.h"

#include <memory>
#include <string>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// A current Excel workbook (.xlsx) written by libxlsxwriter in its constant-memory mode: one
// sheet named after the grid's window; the title row bold on the title colour, with an
// autofilter, panes frozen below it and right of the frozen columns, column widths as in the
// grid; texts as Unicode strings, numbers as numbers showing the column's decimals, dates as
// dates (with a time only where the value has one), nulls as empty cells; the footer in its
// colour with the sums as numbers.
class TDBGridExportAsXLSX : public TDBGridExport {
public:
    // A sheet holds 1,048,576 rows, of which the titles and the footer take two.
    static constexpr std::size_t kMaxRecords = 1048576 - 2;

    TDBGridExportAsXLSX();
    ~TDBGridExportAsXLSX() override;

    // The workbook's bytes, made in a scratch file beside the target (in the temporary folder
    // for a stream) and then copied into the stream.
    void WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                           const TableSnapshot& query) override;

protected:
    void CheckFits(const TableSnapshot& query) const override;
    void BeginDocument() override;
    void EmitTitleRows(const std::vector<ExportColumn>& columns) override;
    void EmitRecordRow(const std::vector<ExportColumn>& columns) override;
    void EmitFooterCell(std::size_t column, int row, const QString& text, Alignment alignment,
                        QRgb background, const ExportFont& font,
                        const ExportColumn& exported) override;

private:
    struct Workbook;
    // Makes the workbook in the file `name` of `folder` through the driver's walk,
    // libxlsxwriter's own scratch files beside it.
    void writeWorkbook(const std::string& name, const std::string& folder,
                       const ExportLayout& layout, const TableSnapshot& query);
    lxw_format* cellFormat(const ExportFont& font, QRgb background, Alignment alignment,
                           const char* numberFormat);
    lxw_format* dataFormat(const char* numberFormat);
    // The number format that shows a column's values as the grid does; none for text.
    const char* numberFormatOf(const ResultColumn& field) const;
    void copyInto(std::ostream& stream, const std::string& path);
    void check(int error) const; // throws ExportError for a libxlsxwriter error

    std::unique_ptr<Workbook> book_;
    std::vector<const char*> numberFormats_; // per column
    std::size_t records_ = 0;
    std::uint32_t row_ = 0; // the sheet row being written
    std::string scratch_;
};
