#include "TDBGridExportAsText.h"

#include <algorithm>

void TDBGridExportAsText::WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                                            const TableSnapshot& query) {
    firstRow_ = true;
    cells_.reset();
    rows_.clear();
    TDBGridExport::WriteGridToStream(stream, layout, query);
}

QString TDBGridExportAsText::value(const QString& text) const {
    return withoutRowBreaks(text);
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
    if (!numbersAsShown()) {
        BreakBeforeRow();
        TDBGridExport::EmitRecordRow(columns);
        return;
    }
    if (!cells_)
        cells_.emplace(cellText(), columns.size(), cellStyle());
    if (firstRow_)
        firstRow_ = false;
    else
        rows_ += "\r\n";
    cells_->appendRecord(records(), recordAt(), rows_);
    if (rows_.size() >= (1U << 16))
        flushRows();
}

void TDBGridExportAsText::flushRows() {
    writeBytes(QByteArray::fromRawData(rows_.data(), static_cast<qsizetype>(rows_.size())));
    rows_.clear();
}

void TDBGridExportAsText::EndDocument() {
    if (endLastLine_)
        rows_ += "\r\n";
    flushRows();
    if (cells_)
        addReplacedCells(cells_->replacedCells());
}

void TDBGridExportAsText::EmitDataCell(const ExportColumn&, const TColCellParams& params) {
    SeparateCell();
    noteCp936Cell(params.text);
    write(value(params.text));
}

void TDBGridExportAsText::EmitFooterRow(const std::vector<ExportColumn>& columns, int row) {
    flushRows();
    BreakBeforeRow();
    TDBGridExport::EmitFooterRow(columns, row);
}

void TDBGridExportAsText::EmitFooterCell(std::size_t, int, const QString& text, Alignment, QRgb,
                                         const ExportFont&, const ExportColumn&) {
    SeparateCell();
    noteCp936Cell(text);
    write(value(text));
}
