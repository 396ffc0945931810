#include "GridExportLayout.h"

#include "GridHeader.h"
#include "ResultGrid.h"

namespace {

ExportFont exportFont(const QFont& font, QRgb colour) {
    ExportFont e;
    e.family = font.family();
    e.pixelSize = font.pixelSize();
    e.bold = font.bold();
    e.italic = font.italic();
    e.underline = font.underline();
    e.strikeOut = font.strikeOut();
    e.colour = colour;
    return e;
}

Alignment exportAlignment(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight)
        return Alignment::Right;
    if (alignment & Qt::AlignHCenter)
        return Alignment::Centre;
    return Alignment::Left;
}

} // namespace

ExportLayout exportLayout(const ResultGrid& grid) {
    ExportLayout layout;
    layout.name = grid.objectName();
    layout.title = grid.window()->windowTitle();
    const GridSettings& settings = grid.settings();
    layout.fixedColour = settings.FixedColor.rgb();
    layout.buttonFace = grid.palette().color(QPalette::Button).rgb();
    layout.colour = settings.Color.rgb();
    layout.columnLines = settings.Options.colLines;
    layout.rowLines = settings.Options.rowLines;
    layout.ctl3d = settings.Ctl3D;
    layout.flat = settings.Flat;
    layout.titleMargin = settings.VTitleMargin;
    layout.footerRows = settings.FooterRowCount;
    layout.dpi = grid.logicalDpiX();
    const QRgb text = grid.palette().color(QPalette::WindowText).rgb();
    const GridHeader& header = *grid.header();
    for (int visual = 0; visual < header.count(); ++visual) {
        const int logical = header.logicalIndex(visual);
        if (header.isSectionHidden(logical))
            continue;
        if (visual < settings.FrozenCols)
            ++layout.frozenColumns;
        const GridColumn& column = grid.columns()[static_cast<std::size_t>(logical)];
        const GridTitles::Title& title = grid.titles()[static_cast<std::size_t>(logical)];
        ExportColumn e;
        e.field = column.field;
        e.caption = QString::fromStdString(title.caption);
        e.width = header.sectionSize(logical);
        QFont titleFont = grid.font();
        titleFont.setBold(title.bold);
        e.titleFont = exportFont(titleFont, text);
        e.titleColour = layout.fixedColour;
        e.font = exportFont(grid.font(), text);
        e.colour = layout.colour;
        e.alignment = exportAlignment(grid.alignment(logical));
        const GridFooter::Cell footer = grid.footerCell(logical);
        e.footer.type = column.footer;
        e.footer.text = QString::fromStdString(column.footerText);
        e.footer.font = exportFont(footer.font, text);
        e.footer.colour = footer.background.rgb();
        e.footer.alignment = exportAlignment(footer.alignment);
        layout.columns.push_back(std::move(e));
    }
    return layout;
}
