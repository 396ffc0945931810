#include "PagePainter.h"

#include "table/FittedText.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>

#include <utility>

namespace {

constexpr double kRowHeight = 18;
constexpr double kCellMargin = 2;
constexpr int kHeadingPixels = 16;
constexpr int kSmallPixels = 11;

QFont sized(const ExportLayout& layout, int pixels, bool bold = false) {
    QFont font =
        layout.columns.empty() ? QFont() : CellFonts::qfont(layout.columns.front().titleFont);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(false);
    return font;
}

Qt::Alignment qtAlignment(Alignment alignment) {
    const Qt::Alignment across = alignment == Alignment::Right    ? Qt::AlignRight
                                 : alignment == Alignment::Centre ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft;
    return across | Qt::AlignVCenter;
}

double lineHeight(const QFont& font) {
    return QFontMetricsF(font).lineSpacing();
}

// How far a text may be squeezed across and still read well.
constexpr double kReadableSqueeze = 0.6;

// A cell's text inside `box`. A text a little too wide is squeezed across, so that it stays
// whole; one much too wide is cut at a whole character and ends in "…", as the grid shows it.
// A number (right-aligned) is always squeezed, keeping every digit.
void drawCellText(QPainter& painter, const QRectF& box, const TColCellParams& cell,
                  CellFonts::Font& font) {
    const Qt::Alignment alignment = qtAlignment(cell.alignment);
    if (box.width() <= 0 || font.fits(cell.text, box.width())) {
        painter.drawText(box, alignment, cell.text);
        return;
    }
    const double needed = font.width(cell.text);
    if (cell.alignment == Alignment::Right || box.width() / needed >= kReadableSqueeze) {
        // Squeezed, the text fills the box exactly, whatever its alignment.
        painter.save();
        painter.translate(box.left(), 0);
        painter.scale(box.width() / needed, 1);
        painter.drawText(QRectF(0, box.top(), needed, box.height()), alignment, cell.text);
        painter.restore();
    } else {
        const QFontMetrics metrics(painter.font());
        painter.drawText(box, alignment,
                         fittedText(metrics, cell.text, alignment, static_cast<int>(box.width())));
    }
}

// A row of cells side by side from `left`, each its colour with its text inside the margins
// (the lines between them are drawn once for the page): the colours first, then the texts, so
// that the painter's font and pen change only where a cell's differ from the one before (each
// change is written into a PDF).
void drawRow(QPainter& painter, CellFonts& fonts, double left, double top, double height,
             const std::vector<std::pair<double, const TColCellParams*>>& cells) {
    double x = left;
    for (const auto& [width, cell] : cells) {
        if (cell->background != qRgb(255, 255, 255)) // the paper is white already
            painter.fillRect(QRectF(x, top, width, height), QColor::fromRgb(cell->background));
        x += width;
    }
    const ExportFont* font = nullptr;
    CellFonts::Font* drawn = nullptr;
    x = left;
    for (const auto& [width, cell] : cells) {
        if (!font || *font != cell->font) {
            font = &cell->font;
            drawn = &fonts.of(*font);
            painter.setFont(drawn->font());
            painter.setPen(QColor::fromRgb(font->colour));
        }
        drawCellText(painter, QRectF(x + kCellMargin, top, width - 2 * kCellMargin, height), *cell,
                     *drawn);
        x += width;
    }
    painter.setPen(Qt::black);
}

} // namespace

PageFrame pageFrameNow(const ExportLayout& layout) {
    return {layout.title, layout.criteria,
            QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm")};
}

QPageLayout pdfPageLayout() {
    constexpr double kMarginMillimetres = 10;
    return QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Landscape,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
}

double PagePainter::widthToShow(const ExportFont& font, const QString& text) {
    return CellFonts::Font(CellFonts::qfont(font)).width(text) + 2 * kCellMargin + 1;
}

PagePlan::Sizes PagePainter::sizes(const ExportLayout& layout, std::size_t rows, double pageWidth,
                                   double pageHeight) {
    PagePlan::Sizes sizes;
    for (const ExportColumn& column : layout.columns)
        sizes.columnWidths.push_back(column.width);
    sizes.frozenColumns = layout.frozenColumns;
    sizes.rows = rows;
    sizes.pageWidth = pageWidth;
    sizes.pageHeight = pageHeight;
    // The caption and the criteria, a line each, and a gap.
    sizes.headingHeight = lineHeight(sized(layout, kHeadingPixels, true)) +
                          lineHeight(sized(layout, kSmallPixels)) + 6;
    sizes.titleHeight = 2 * lineHeight(layout.columns.empty()
                                           ? QFont()
                                           : CellFonts::qfont(layout.columns.front().titleFont)) +
                        6;
    sizes.rowHeight = kRowHeight;
    sizes.footHeight = lineHeight(sized(layout, kSmallPixels)) + 6;
    return sizes;
}

PagePainter::PagePainter(const ExportLayout& layout, const PagePlan& plan, PageFrame frame,
                         double pageWidth, double pageHeight)
    : layout_(layout), plan_(plan), frame_(std::move(frame)),
      sizes_(sizes(layout, 0, pageWidth, pageHeight)) {}

void PagePainter::paint(QPainter& painter, std::size_t index,
                        const std::vector<std::vector<TColCellParams>>& rows,
                        const std::vector<TColCellParams>& footer) const {
    const std::lock_guard drawing(fontsInUse_); // a preview may draw while the printer does
    const PagePlan::Page page = plan_.page(index);
    const PagePlan::Sizes& sizes = sizes_;
    painter.save();
    painter.scale(plan_.scale(), plan_.scale());
    const double pageWidth = sizes.pageWidth / plan_.scale();
    const double pageHeight = sizes.pageHeight / plan_.scale();
    painter.setPen(Qt::black);

    // Heading: the caption, then the criteria.
    const QFont caption = sized(layout_, kHeadingPixels, true);
    const QFont small = sized(layout_, kSmallPixels);
    painter.setFont(caption);
    painter.drawText(QRectF(0, 0, pageWidth, lineHeight(caption)), Qt::AlignLeft | Qt::AlignTop,
                     frame_.caption);
    painter.setFont(small);
    painter.drawText(QRectF(0, lineHeight(caption), pageWidth, lineHeight(small)),
                     Qt::AlignLeft | Qt::AlignTop, frame_.criteria);

    // Titles, rows and the footer row of the band's columns.
    const std::vector<std::size_t>& columns = plan_.bands()[page.band].columns;
    const double tableTop = sizes.headingHeight;
    double y = tableTop;
    double x = 0;
    for (const std::size_t column : columns) {
        const ExportColumn& shown = layout_.columns[column];
        const QRectF box(x, y, shown.width, sizes.titleHeight);
        painter.fillRect(box, QColor::fromRgb(shown.titleColour));
        painter.setFont(CellFonts::qfont(shown.titleFont));
        painter.setPen(QColor::fromRgb(shown.titleFont.colour));
        painter.drawText(box.adjusted(kCellMargin, 0, -kCellMargin, 0),
                         Qt::AlignCenter | Qt::TextWrapAnywhere, shown.caption);
        painter.setPen(Qt::black);
        x += shown.width;
    }
    y += sizes.titleHeight;
    std::vector<double> lines = {tableTop, y}; // across, above and under the titles
    std::vector<std::pair<double, const TColCellParams*>> shown(columns.size());
    const auto drawCells = [&](const std::vector<TColCellParams>& cells) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            shown[i] = {layout_.columns[columns[i]].width, &cells[columns[i]]};
        drawRow(painter, fonts_, 0, y, kRowHeight, shown);
        y += kRowHeight;
        lines.push_back(y);
    };
    for (const std::vector<TColCellParams>& row : rows)
        drawCells(row);
    if (page.footerRow && !footer.empty())
        drawCells(footer);
    // The lines around every cell: across under each row, down beside each column.
    const double tableWidth = x;
    for (const double across : lines)
        painter.drawLine(QPointF(0, across), QPointF(tableWidth, across));
    double down = 0;
    painter.drawLine(QPointF(0, tableTop), QPointF(0, y));
    for (const std::size_t column : columns) {
        down += layout_.columns[column].width;
        painter.drawLine(QPointF(down, tableTop), QPointF(down, y));
    }

    // Foot: the page number in the middle, the time printed at the right.
    painter.setFont(small);
    const QRectF foot(0, pageHeight - sizes.footHeight, pageWidth, sizes.footHeight);
    painter.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
                     QString("第 %1 页 共 %2 页").arg(index + 1).arg(plan_.pageCount()));
    painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom, frame_.printedAt);
    painter.restore();
}
