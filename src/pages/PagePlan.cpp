#include "PagePlan.h"

#include <algorithm>
#include <numeric>

PagePlan::PagePlan(const Sizes& sizes) : rows_(sizes.rows) {
    const double total = std::accumulate(sizes.columnWidths.begin(), sizes.columnWidths.end(), 0.0);
    scale_ = total > sizes.pageWidth && total > 0 ? sizes.pageWidth / total : 1.0;
    scale_ = std::max(scale_, sizes.minimumScale);
    planBands(sizes);
    // Rows fill what the heading, titles and foot leave of a page at this scale; the footer
    // row takes a row's place after the last record.
    const double rowsHeight =
        sizes.pageHeight / scale_ - sizes.headingHeight - sizes.titleHeight - sizes.footHeight;
    rowsPerPage_ = std::max<std::size_t>(1, static_cast<std::size_t>(rowsHeight / sizes.rowHeight));
    blocks_ = (rows_ + 1 + rowsPerPage_ - 1) / rowsPerPage_;
}

void PagePlan::planBands(const Sizes& sizes) {
    const std::size_t count = sizes.columnWidths.size();
    const double room = sizes.pageWidth / scale_;
    const auto width = [&](std::size_t column) { return sizes.columnWidths[column]; };
    std::size_t frozen =
        std::min(static_cast<std::size_t>(std::max(sizes.frozenColumns, 0)), count);
    double frozenWidth = 0;
    for (std::size_t column = 0; column < frozen; ++column)
        frozenWidth += width(column);
    // Frozen columns that would fill half a band are not repeated: they take their own place.
    if (frozenWidth > room / 2) {
        frozen = 0;
        frozenWidth = 0;
    }
    Band band;
    double used = frozenWidth;
    for (std::size_t column = 0; column < frozen; ++column)
        band.columns.push_back(column);
    for (std::size_t column = frozen; column < count; ++column) {
        if (band.columns.size() > frozen && used + width(column) > room) {
            bands_.push_back(band);
            band.columns.resize(frozen);
            used = frozenWidth;
        }
        band.columns.push_back(column);
        used += width(column);
    }
    bands_.push_back(band);
}

PagePlan::Page PagePlan::page(std::size_t index) const {
    const std::size_t block = index / bands_.size();
    Page page;
    page.band = index % bands_.size();
    page.firstRow = std::min(rows_, block * rowsPerPage_);
    page.endRow = std::min(rows_, (block + 1) * rowsPerPage_);
    page.footerRow = block + 1 == blocks_;
    return page;
}
