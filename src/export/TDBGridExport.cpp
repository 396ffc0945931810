#include "TDBGridExport.h"

#include "Cp936.h"
#include "ExportError.h"
#include "SaveStream.h"
#include "result/DbError.h"
#include "result/ResultColumn.h"
#include "table/FooterSums.h"
#include "table/LayoutCells.h"
#include "table/TableSnapshot.h"

#include <QScopeGuard>

void TDBGridExport::WriteGridToFile(const QString& path, const ExportLayout& layout,
                                    const TableSnapshot& query) {
    CheckFits(query); // a refusal touches no file
    CheckOpen(query);
    SaveStream file(path, *control_);
    WriteGridTo(file, layout, query);
}

void TDBGridExport::WriteGridTo(SaveStream& target, const ExportLayout& layout,
                                const TableSnapshot& query) {
    WriteGridToStream(target, layout, query);
    target.commit(*control_); // a cancel up to the replacement keeps the old file
}

void TDBGridExport::WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                                      const TableSnapshot& query) {
    output_ = &stream;
    layout_ = &layout;
    query_ = &query;
    pending_.clear();
    replacedCells_ = 0;
    CheckFits(query);
    CheckOpen(query);
    // The walk goes by place in the row order, not by the query's cursor, so that the grid
    // keeps its current record while the rows are written off the interface thread.
    const auto restore = qScopeGuard([&] {
        FooterAccumulators.clear();
        records_.reset();
    });
    const std::vector<ExportColumn>& columns = layout.columns;
    FooterAccumulators.assign(columns.size(), 0);
    records_.emplace(shownFields(layout, query));
    BeginDocument();
    EmitTitleRows(columns);
    control_->setTotal(query.rowCount());
    // The count goes out and a stop is looked for once per block of records.
    constexpr std::size_t kRowsPerReport = 1024;
    for (position_ = 0; position_ < query.rowCount(); ++position_) {
        if (position_ % kRowsPerReport == 0) {
            control_->setDone(position_);
            control_->throwIfCancelled();
        }
        recordAt_ = records_->hold(query, position_);
        EmitRecordRow(columns);
        AccumulateFooters();
    }
    control_->setDone(query.rowCount());
    for (int footerRow = 0; footerRow < layout.footerRows; ++footerRow)
        EmitFooterRow(columns, footerRow);
    EndDocument();
    flush();
}

void TDBGridExport::CheckOpen(const TableSnapshot& query) {
    if (!query.isOpen())
        throw DbError("查询结果未打开，无法输出。");
}

void TDBGridExport::EmitRecordRow(const std::vector<ExportColumn>& columns) {
    for (const ExportColumn& column : columns)
        EmitDataCell(column, dataCell(column, fieldOf(column), currentRow(), cellText_));
}

void TDBGridExport::EmitFooterRow(const std::vector<ExportColumn>& columns, int row) {
    for (std::size_t j = 0; j < columns.size(); ++j) {
        const ExportFooter& footer = columns[j].footer;
        const QString text =
            footerCellText(footer, fieldOf(columns[j]), FooterAccumulators[j], cellText_);
        EmitFooterCell(j, row, text, footer.alignment, footer.colour, footer.font, columns[j]);
    }
}

void TDBGridExport::AccumulateFooters() {
    const std::vector<ExportColumn>& columns = layout_->columns;
    for (std::size_t j = 0; j < columns.size(); ++j) {
        if (columns[j].footer.type != FooterValue::Sum)
            continue;
        const ResultColumn* field = fieldOf(columns[j]);
        if (!field || records_->isNull(j, recordAt_))
            continue;
        FooterAccumulators[j] =
            FooterSums::added(FooterAccumulators[j], field->kind(), records_->bits(j, recordAt_));
    }
}

double TDBGridExport::footerTotal(std::size_t column) const {
    return static_cast<double>(FooterAccumulators[column]) / 10000.0;
}

const ResultColumn* TDBGridExport::fieldOf(const ExportColumn& column) const {
    return records_->fields()[static_cast<std::size_t>(&column - layout_->columns.data())];
}

std::size_t TDBGridExport::currentRow() const {
    return query_->rowAt(position_);
}

void TDBGridExport::flush() {
    if (pending_.isEmpty())
        return;
    const QByteArray bytes = utf8_ ? pending_.toUtf8() : toCp936(pending_);
    pending_.clear();
    output_->write(bytes.constData(), bytes.size());
    checkOutput();
}

void TDBGridExport::writeBytes(const QByteArray& bytes) {
    flush();
    output_->write(bytes.constData(), bytes.size());
    checkOutput();
}

void TDBGridExport::checkOutput() {
    if (!*output_)
        throw ExportError(failureOf(*output_));
}

void TDBGridExport::write(const QString& text) {
    pending_ += text;
    if (pending_.size() >= 32768)
        flush();
}

void TDBGridExport::writeLine(const QString& text) {
    write(text);
    write(QStringLiteral("\r\n"));
}
