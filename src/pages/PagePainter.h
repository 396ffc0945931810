#pragma once

#include "CellFonts.h"
#include "PagePlan.h"
#include "table/ExportLayout.h"

#include <QPageLayout>
#include <QString>

#include <mutex>
#include <vector>

class QPainter;

// What every page shows besides the table: the window's caption and the criteria in force as
// its heading, and the time it was printed at its foot beside "第 N 页 共 M 页".
struct PageFrame {
    QString caption;
    QString criteria;
    QString printedAt;
};

// The frame of a layout's pages printed now.
PageFrame pageFrameNow(const ExportLayout& layout);

// The page of a PDF: landscape A4 with margins of 10 mm.
QPageLayout pdfPageLayout();

// Draws the pages of a table as its grid shows it: the heading, the two-line titles, the
// block's rows with the grid's fonts, colours and alignments, the footer row after the last
// row, and the page foot, all at the plan's scale. Text stays text (selectable in a PDF).
class PagePainter {
public:
    // The plan's sizes for a layout on a printable area of `pageWidth` by `pageHeight` grid
    // pixels.
    // The width of a cell, its margins included, that shows `text` in `font` whole on paper.
    static double widthToShow(const ExportFont& font, const QString& text);
    static PagePlan::Sizes sizes(const ExportLayout& layout, std::size_t rows, double pageWidth,
                                 double pageHeight);

    // For pages whose printable area is `pageWidth` by `pageHeight` grid pixels, as the plan
    // was made for.
    PagePainter(const ExportLayout& layout, const PagePlan& plan, PageFrame frame, double pageWidth,
                double pageHeight);

    // Page `index` of the plan on a painter whose units are grid pixels, from the printable
    // area's top left; `rows` holds the page's rows, one cell per shown column, and `footer`
    // the footer row's cells.
    void paint(QPainter& painter, std::size_t index,
               const std::vector<std::vector<TColCellParams>>& rows,
               const std::vector<TColCellParams>& footer) const;

private:
    const ExportLayout& layout_;
    const PagePlan& plan_;
    PageFrame frame_;
    PagePlan::Sizes sizes_;
    mutable std::mutex fontsInUse_;
    mutable CellFonts fonts_;
};
