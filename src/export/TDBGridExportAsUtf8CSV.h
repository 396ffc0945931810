#pragma once

#include "TDBGridExportAsText.h"

// CSV for today's spreadsheets: UTF-8 behind a byte-order mark, so that Excel reads it as
// Unicode; values separated by commas and quoted as RFC 4180 asks (a value with a comma, a
// quote, CR or LF in double quotes, inner quotes doubled); rows ended by CR LF except the last;
// cells as the grid shows them; records only, as in every CSV: an importer would take a sums
// line for one more record.
class TDBGridExportAsUtf8CSV : public TDBGridExportAsText {
public:
    TDBGridExportAsUtf8CSV() { writeUtf8(); }

protected:
    void BeginDocument() override;
    void SeparateCell() override;
    void EmitFooterRow(const std::vector<ExportColumn>&, int) override {}
    QString value(const QString& text) const override;
    TextCellStyle cellStyle() const override { return TextCellStyle::Utf8Csv; }
};
