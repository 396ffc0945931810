#include "PrintDocument.h"

#include "table/CellText.h"
#include "table/LayoutCells.h"

PrintDocument::PrintDocument(ExportLayout layout, TableSnapshot rows, PageFrame frame,
                             const WorkControl& control)
    : layout_(std::move(layout)), rows_(std::move(rows)), frame_(std::move(frame)),
      footer_(footerCells(layout_, rows_, control)) {}

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
