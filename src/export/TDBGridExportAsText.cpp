#include "TDBGridExportAsText.h"

#include <algorithm>

void TDBGridExportAsText::WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                                            ResultQuery& query) {
    firstRow_ = true;
    TDBGridExport::WriteGridToStream(stream, layout, query);
}

QString TDBGridExportAsText::value(const QString& text) const {
    const auto breaksRows = [](QChar c) { return c == '\t' || c == '\r' || c == '\n'; };
    if (std::none_of(text.begin(), text.end(), breaksRows))
        return text;
    QString kept = text;
    for (QChar& c : kept)
        if (breaksRows(c))
            c = ' ';
    return kept;
}

void TDBGridExportAsText::BreakBeforeRow() {
    if (firstRow_)
        firstRow_ = false;
    else
        write(QStringLiteral("\r\n"));
    firstCell_ = true;
}

bool TDBGridExportAsText::takeFirstCell() {
    const bool first = firstCell_;
    firstCell_ = false;
    return first;
}

void TDBGridExportAsText::SeparateCell() {
    if (!takeFirstCell())
        write(QStringLiteral("\t"));
}

void TDBGridExportAsText::EmitTitleRows(const std::vector<ExportColumn>& columns) {
    BreakBeforeRow();
    for (const ExportColumn& column : columns) {
        SeparateCell();
        noteCp936Cell(column.caption);
        write(value(column.caption));
    }
}

void TDBGridExportAsText::EmitRecordRow(const std::vector<ExportColumn>& columns) {
    BreakBeforeRow();
    TDBGridExport::EmitRecordRow(columns);
}

void TDBGridExportAsText::EmitDataCell(const ExportColumn&, const TColCellParams& params) {
    SeparateCell();
    noteCp936Cell(params.text);
    write(value(params.text));
}

void TDBGridExportAsText::EmitFooterRow(const std::vector<ExportColumn>& columns, int row) {
    BreakBeforeRow();
    TDBGridExport::EmitFooterRow(columns, row);
}

void TDBGridExportAsText::EmitFooterCell(std::size_t, int, const QString& text, Alignment, QRgb,
                                         const ExportFont&, const ExportColumn&) {
    SeparateCell();
    noteCp936Cell(text);
    write(value(text));
}
