#pragma once

#include <cstddef>
#include <vector>

// How a table goes onto pages, worked out from sizes alone (no printer, no rows): one scale
// for the whole document, the columns in bands across (the frozen columns repeated at the
// left of every band), and the rows in blocks down, each block on as many pages as there are
// bands. Every page has the heading, the titles and the page foot; the footer row follows the
// last row. Sizes are in the grid's pixels (96 to the inch) before scaling.
class PagePlan {
public:
    // The grid's pixels to the inch, the unit of every size here.
    static constexpr int kGridDpi = 96;

    struct Sizes {
        std::vector<int> columnWidths; // shown columns in display order
        int frozenColumns = 0;
        std::size_t rows = 0;
        double pageWidth = 0; // the printable area
        double pageHeight = 0;
        double headingHeight = 0; // caption and criteria
        double titleHeight = 0;   // the two-line titles
        double rowHeight = 0;     // a record, and the footer row
        double footHeight = 0;    // "第 N 页 共 M 页" and the time
        // The smallest scale at which the text stays readable; below it the columns go onto
        // bands across instead of shrinking further.
        double minimumScale = 0.75;
    };

    // The columns of one band, by their place among the shown columns.
    struct Band {
        std::vector<std::size_t> columns;
    };

    // One page: its band and its rows [firstRow, endRow); the footer row after them on the
    // last block's pages.
    struct Page {
        std::size_t band = 0;
        std::size_t firstRow = 0;
        std::size_t endRow = 0;
        bool footerRow = false;
    };

    explicit PagePlan(const Sizes& sizes);

    double scale() const { return scale_; }
    const std::vector<Band>& bands() const { return bands_; }
    std::size_t rowsPerPage() const { return rowsPerPage_; }
    std::size_t pageCount() const { return blocks_ * bands_.size(); }
    // Pages go down the rows first, each block's bands side by side: page n is block
    // n / bands, band n % bands.
    Page page(std::size_t index) const;

private:
    void planBands(const Sizes& sizes);

    std::size_t rows_;
    double scale_ = 1;
    std::vector<Band> bands_;
    std::size_t rowsPerPage_ = 1;
    std::size_t blocks_ = 1;
};
