#include "PrintDocument.h"

#include "db/WorkControl.h"
#include "result/DateTime.h"
#include "table/CellText.h"
#include "table/LayoutCells.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// A cell of `field` that shows a time of day, as its date column shows it; none when no row
// has one.
std::optional<TColCellParams> cellWithTime(const ExportColumn& column, const ResultColumn* field,
                                           const TableSnapshot& rows, const WorkControl& control) {
    if (!field || field->kind() != FieldKind::DateTime)
        return std::nullopt;
    const CellText text;
    for (std::size_t position = 0; position < rows.rowCount(); ++position) {
        if (position % 65536 == 0)
            control.throwIfCancelled();
        const std::size_t row = rows.rowAt(position);
        if (!field->isNull(row) && hasTimeOfDay(field->integer(row)))
            return dataCell(column, field, row, text);
    }
    return std::nullopt;
}

} // namespace

PrintDocument::PrintDocument(ExportLayout layout, TableSnapshot rows, PageFrame frame,
                             const WorkControl& control)
    : layout_(std::move(layout)), rows_(std::move(rows)), frame_(std::move(frame)),
      footer_(footerCells(layout_, rows_, control)) {
    // On paper a column is as wide as its sum, and a date column holding times of day as a
    // date with its time: squeezed into less, they would read smaller than the cells beside.
    const std::vector<const ResultColumn*> fields = shownFields(layout_, rows_);
    for (std::size_t j = 0; j < layout_.columns.size(); ++j) {
        ExportColumn& column = layout_.columns[j];
        double needed = PagePainter::widthToShow(footer_[j].font, footer_[j].text);
        if (const auto timed = cellWithTime(column, fields[j], rows_, control))
            needed = std::max(needed, PagePainter::widthToShow(timed->font, timed->text));
        column.width = std::max(column.width, static_cast<int>(std::ceil(needed)));
    }
}

void PrintDocument::setPageArea(QSizeF area) {
    painter_.reset(); // it refers to the plan
    plan_.emplace(PagePainter::sizes(layout_, rows_.rowCount(), area.width(), area.height()));
    painter_.emplace(layout_, *plan_, frame_, area.width(), area.height());
}

void PrintDocument::paint(QPainter& painter, std::size_t index) const {
    const PagePlan::Page page = plan_->page(index);
    const std::vector<const ResultColumn*> fields = shownFields(layout_, rows_);
    const CellText text;
    std::vector<std::vector<TColCellParams>> cells;
    for (std::size_t position = page.firstRow; position < page.endRow; ++position) {
        const std::size_t row = rows_.rowAt(position);
        std::vector<TColCellParams>& record = cells.emplace_back();
        for (std::size_t j = 0; j < fields.size(); ++j)
            record.push_back(dataCell(layout_.columns[j], fields[j], row, text));
    }
    painter_->paint(painter, index, cells, footer_);
}
