#pragma once

#include "PagePainter.h"
#include "PagePlan.h"
#include "table/ExportLayout.h"
#include "table/TableSnapshot.h"

#include <QSizeF>

#include <optional>
#include <vector>

class QPainter;
class WorkControl;

// The pages of a table for a printer or its preview: any page drawn on demand from a snapshot
// of the rows, so that the first page shows at once however many there are. The footer row is
// added up over the snapshot's rows (the picked rows' totals when only they are printed).
class PrintDocument {
public:
    // Adds up the footer row: on any thread; throws WorkCancelled once `control` asks it to
    // stop.
    PrintDocument(ExportLayout layout, TableSnapshot rows, PageFrame frame,
                  const WorkControl& control);
    PrintDocument(const PrintDocument&) = delete;
    PrintDocument& operator=(const PrintDocument&) = delete;

    // Lays the pages out for a printable area of `area` grid pixels (96 to the inch).
    void setPageArea(QSizeF area);
    std::size_t pageCount() const { return plan_->pageCount(); }
    // Which band and rows page `index` shows.
    PagePlan::Page page(std::size_t index) const { return plan_->page(index); }
    std::size_t rowCount() const { return rows_.rowCount(); }
    // The layout as the pages show it: columns widened to show their sums and times whole.
    const ExportLayout& layout() const { return layout_; }

    // Page `index` on a painter whose units are grid pixels, from the printable area's top left.
    void paint(QPainter& painter, std::size_t index) const;

private:
    ExportLayout layout_;
    TableSnapshot rows_;
    PageFrame frame_;
    std::vector<TColCellParams> footer_;
    std::optional<PagePlan> plan_;
    std::optional<PagePainter> painter_;
};
