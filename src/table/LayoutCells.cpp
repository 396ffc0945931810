#include "LayoutCells.h"

#include "CellText.h"
#include "FooterSums.h"
#include "TableSnapshot.h"
#include "db/WorkControl.h"
#include "result/ResultColumn.h"

TColCellParams dataCell(const ExportColumn& column, const ResultColumn* field, std::size_t row,
                        const CellText& text) {
    return {column.font, column.colour, column.alignment, field ? text(*field, row) : QString()};
}

QString footerCellText(const ExportFooter& footer, const ResultColumn* field, std::int64_t total,
                       const CellText& text) {
    if (footer.type == FooterValue::StaticText)
        return footer.text;
    if (footer.type != FooterValue::Sum || !field || field->kind() == FieldKind::Text ||
        field->kind() == FieldKind::DateTime)
        return {};
    return text.sumText(field->kind(), total);
}

std::vector<const ResultColumn*> shownFields(const ExportLayout& layout,
                                             const TableSnapshot& table) {
    std::vector<const ResultColumn*> fields;
    for (const ExportColumn& column : layout.columns) {
        const auto index = table.result().findColumn(column.field);
        fields.push_back(index ? &table.result().column(*index) : nullptr);
    }
    return fields;
}

std::vector<TColCellParams> footerCells(const ExportLayout& layout, const TableSnapshot& table,
                                        const WorkControl& control) {
    const std::vector<const ResultColumn*> fields = shownFields(layout, table);
    std::vector<std::int64_t> totals(fields.size(), 0);
    constexpr std::size_t kRowsBetweenStopChecks = 65536;
    for (std::size_t j = 0; j < fields.size(); ++j) {
        const ResultColumn* field = fields[j];
        if (layout.columns[j].footer.type != FooterValue::Sum || !field)
            continue;
        for (std::size_t position = 0; position < table.rowCount(); ++position) {
            if (position % kRowsBetweenStopChecks == 0)
                control.throwIfCancelled();
            const std::size_t row = table.rowAt(position);
            if (!field->isNull(row))
                totals[j] = FooterSums::added(totals[j], field->kind(), field->bits(row));
        }
    }
    const CellText text;
    std::vector<TColCellParams> cells;
    for (std::size_t j = 0; j < fields.size(); ++j) {
        const ExportFooter& footer = layout.columns[j].footer;
        cells.push_back({footer.font, footer.colour, footer.alignment,
                         footerCellText(footer, fields[j], totals[j], text)});
    }
    return cells;
}
