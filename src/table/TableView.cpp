#include "TableView.h"

#include "ResultTableModel.h"
#include "result/QueryDefinition.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

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

TableView startingView(const ResultTableModel& model, const QueryShape& shape) {
    TableView view;
    view.name = shape.gridName;
    view.title = shape.caption;
    for (int column = 0; column < model.columnCount(); ++column)
        view.columns.push_back({column, model.displayWidth(column)});
    view.frozenColumns = std::min(shape.frozenColumns, model.columnCount());
    view.settings.FrozenCols = shape.frozenColumns;
    view.font = gridFont();
    const QPalette palette = QGuiApplication::palette();
    view.buttonFace = palette.color(QPalette::Button).rgb();
    view.text = palette.color(QPalette::WindowText).rgb();
    view.dpi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchX());
    return view;
}

ExportLayout exportLayout(const ResultTableModel& model, const TableView& view) {
    ExportLayout layout;
    layout.name = view.name;
    layout.title = view.title;
    layout.criteria = model.criteriaAndFilterText();
    const GridSettings& settings = view.settings;
    layout.fixedColour = settings.FixedColor.rgb();
    layout.buttonFace = view.buttonFace;
    layout.colour = settings.Color.rgb();
    layout.columnLines = settings.Options.colLines;
    layout.rowLines = settings.Options.rowLines;
    layout.ctl3d = settings.Ctl3D;
    layout.flat = settings.Flat;
    layout.titleMargin = settings.VTitleMargin;
    layout.footerRows = settings.FooterRowCount;
    layout.dpi = view.dpi;
    layout.frozenColumns = view.frozenColumns;
    for (const TableView::Column& shown : view.columns) {
        const GridColumn& column = model.columns()[static_cast<std::size_t>(shown.logical)];
        const GridTitles::Title& title = model.titles()[static_cast<std::size_t>(shown.logical)];
        ExportColumn e;
        e.field = column.field;
        e.caption = QString::fromStdString(title.caption);
        e.width = shown.width;
        QFont titleFont = view.font;
        titleFont.setBold(title.bold);
        e.titleFont = exportFont(titleFont, view.text);
        e.titleColour = layout.fixedColour;
        e.font = exportFont(view.font, view.text);
        e.colour = layout.colour;
        e.alignment = exportAlignment(model.alignment(shown.logical));
        const FooterCell footer = model.footerCell(shown.logical);
        e.footer.type = column.footer;
        e.footer.text = QString::fromStdString(column.footerText);
        e.footer.font = exportFont(footer.font, view.text);
        e.footer.colour = footer.background.rgb();
        e.footer.alignment = exportAlignment(footer.alignment);
        layout.columns.push_back(std::move(e));
    }
    return layout;
}
