#include "TDBGridExportAsHTML.h"

#include "Cp936.h"

namespace {

const char* alignmentText(Alignment alignment) {
    switch (alignment) {
    case Alignment::Right:
        return "RIGHT";
    case Alignment::Centre:
        return "CENTER";
    case Alignment::Left:
        break;
    }
    return "LEFT";
}

// The entities carry no closing semicolon; the ampersand goes first so that the inserted
// entities are not escaped again.
QString escaped(const QString& text) {
    if (text.isEmpty())
        return QStringLiteral("&nbsp");
    QString html = text;
    html.replace('&', QStringLiteral("&amp"));
    html.replace('<', QStringLiteral("&lt"));
    html.replace('>', QStringLiteral("&gt"));
    html.replace('"', QStringLiteral("&quot"));
    return html;
}

} // namespace

QString HtmlColour(QRgb colour) {
    return QStringLiteral("%1%2%3")
        .arg(qRed(colour), 2, 16, QChar('0'))
        .arg(qGreen(colour), 2, 16, QChar('0'))
        .arg(qBlue(colour), 2, 16, QChar('0'))
        .toUpper();
}

void TDBGridExportAsHTML::BeginDocument() {
    for (const char* line :
         {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">", "<HTML>", "<HEAD>", "<TITLE>"})
        writeLine(line);
    writeLine(layout().name);
    writeLine("</TITLE>");
    writeLine("</HEAD>");
    const ExportLayout& grid = layout();
    const QString border = !grid.columnLines && !grid.rowLines
                               ? "BORDER=0 CELLSPACING=0 CELLPADDING="
                           : grid.ctl3d ? "BORDER=1 CELLSPACING=0 CELLPADDING="
                                        : "BORDER=0 CELLSPACING=1 CELLPADDING=";
    writeLine("<TABLE " + border + (grid.flat ? "1" : "2") + " BGCOLOR=#" +
              HtmlColour(grid.fixedColour) + ">\r\n");
}

void TDBGridExportAsHTML::EndDocument() {
    for (const char* line : {"</TABLE>", "</BODY>", "</HTML>"})
        writeLine(line);
}

void TDBGridExportAsHTML::EmitTitleRows(const std::vector<ExportColumn>& columns) {
    writeLine("<TR>");
    for (const ExportColumn& column : columns) {
        write("  <TD WIDTH=" + QString::number(column.width) + " ALIGN=\"CENTER\">");
        FontRun(column.titleFont, column.caption);
        writeLine("</TD>");
    }
    writeLine("</TR>");
}

void TDBGridExportAsHTML::EmitRecordRow(const std::vector<ExportColumn>& columns) {
    writeLine("<TR>");
    TDBGridExport::EmitRecordRow(columns);
    writeLine("</TR>");
}

void TDBGridExportAsHTML::EmitDataCell(const ExportColumn& column, const TColCellParams& params) {
    cell(column.width, params.alignment, HtmlColour(params.background), params.font, params.text);
}

void TDBGridExportAsHTML::EmitFooterRow(const std::vector<ExportColumn>& columns, int row) {
    writeLine("<TR>");
    TDBGridExport::EmitFooterRow(columns, row);
    writeLine("</TR>");
}

void TDBGridExportAsHTML::EmitFooterCell(std::size_t, int, const QString& text, Alignment alignment,
                                         QRgb background, const ExportFont& font,
                                         const ExportColumn& exported) {
    cell(exported.width, alignment, HtmlColour(background), font, text);
}

void TDBGridExportAsHTML::cell(int width, Alignment alignment, const QString& background,
                               const ExportFont& font, const QString& text) {
    write("  <TD WIDTH=" + QString::number(width) + " ALIGN=\"" + alignmentText(alignment) +
          "\" BGCOLOR=#" + background + ">");
    FontRun(font, text);
    writeLine("</TD>");
}

void TDBGridExportAsHTML::FontRun(const ExportFont& font, const QString& text) {
    write("<FONT STYLE=\"font-family: " + font.family +
          "; font-size: " + QString::number(font.points(layout().dpi)) + "pt; color: #" +
          HtmlColour(font.colour) + "\">");
    const std::pair<bool, const char*> styles[] = {
        {font.bold, "B"}, {font.italic, "I"}, {font.underline, "U"}, {font.strikeOut, "STRIKE"}};
    for (const auto& [on, tag] : styles)
        if (on)
            write(QStringLiteral("<%1>").arg(tag));
    // Characters code page 936 cannot hold are kept as numeric character references.
    writeBytes(toCp936(escaped(text),
                  [](char32_t code) { return QByteArray("&#") + QByteArray::number(code) + ';'; }));
    for (const auto& [on, tag] : styles)
        if (on)
            write(QStringLiteral("</%1>").arg(tag));
    write("</FONT>");
}
