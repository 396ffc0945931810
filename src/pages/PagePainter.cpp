#include "PagePainter.h"

#include "table/Fonts.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr double kRowHeight = 18;
constexpr double kCellMargin = 2;
constexpr int kHeadingPixels = 16;
constexpr int kSmallPixels = 11;

// The grid's font, falling back to the Chinese fonts the program knows where it is missing.
QFont fontOf(const ExportFont& font) {
    QFont qfont = songTi(font.pixelSize, font.bold);
    qfont.setFamilies(QStringList{font.family} + qfont.families());
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    return qfont;
}

QFont sized(const ExportLayout& layout, int pixels, bool bold = false) {
    QFont font = layout.columns.empty() ? QFont() : fontOf(layout.columns.front().titleFont);
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

// A cell's box with its text inside the margins, clipped to the box.
void drawCell(QPainter& painter, const QRectF& box, const TColCellParams& cell) {
    painter.fillRect(box, QColor::fromRgb(cell.background));
    painter.drawRect(box);
    painter.setFont(fontOf(cell.font));
    painter.setPen(QColor::fromRgb(cell.font.colour));
    painter.drawText(box.adjusted(kCellMargin, 0, -kCellMargin, 0), qtAlignment(cell.alignment),
                     cell.text);
    painter.setPen(Qt::black);
}

} // namespace

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
    sizes.titleHeight =
        2 * lineHeight(layout.columns.empty() ? QFont()
                                              : fontOf(layout.columns.front().titleFont)) +
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
    double y = sizes.headingHeight;
    double x = 0;
    for (const std::size_t column : columns) {
        const ExportColumn& shown = layout_.columns[column];
        const QRectF box(x, y, shown.width, sizes.titleHeight);
        painter.fillRect(box, QColor::fromRgb(shown.titleColour));
        painter.drawRect(box);
        painter.setFont(fontOf(shown.titleFont));
        painter.setPen(QColor::fromRgb(shown.titleFont.colour));
        painter.drawText(box.adjusted(kCellMargin, 0, -kCellMargin, 0),
                         Qt::AlignCenter | Qt::TextWrapAnywhere, shown.caption);
        painter.setPen(Qt::black);
        x += shown.width;
    }
    y += sizes.titleHeight;
    const auto drawRow = [&](const std::vector<TColCellParams>& cells) {
        double left = 0;
        for (const std::size_t column : columns) {
            const double width = layout_.columns[column].width;
            drawCell(painter, QRectF(left, y, width, kRowHeight), cells[column]);
            left += width;
        }
        y += kRowHeight;
    };
    for (const std::vector<TColCellParams>& row : rows)
        drawRow(row);
    if (page.footerRow && !footer.empty())
        drawRow(footer);

    // Foot: the page number in the middle, the time printed at the right.
    painter.setFont(small);
    const QRectF foot(0, pageHeight - sizes.footHeight, pageWidth, sizes.footHeight);
    painter.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
                     QString("第 %1 页 共 %2 页").arg(index + 1).arg(plan_.pageCount()));
    painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom, frame_.printedAt);
    painter.restore();
}
