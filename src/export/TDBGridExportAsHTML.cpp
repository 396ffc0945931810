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
    const auto special = [](QChar c) { return c == '&' || c == '<' || c == '>' || c == '"'; };
    if (std::none_of(text.begin(), text.end(), special))
        return text;
    QString html = text;
    html.replace('&', QStringLiteral("&amp"));
    html.replace('<', QStringLiteral("&lt"));
    html.replace('>', QStringLiteral("&gt"));
    html.replace('"', QStringLiteral("&quot"));
    return html;
}

// The Latin-1 characters from U+00A0 by their entity names, which every reader decodes alike:
// LibreOffice reads a numeric reference below 256 as a byte of the page's code page.
const char* const kLatin1Entities[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

QString characterReference(char32_t code) {
    if (code >= 0xA0 && code <= 0xFF)
        return QStringLiteral("&%1;").arg(QLatin1String(kLatin1Entities[code - 0xA0]));
    return QStringLiteral("&#%1;").arg(static_cast<unsigned>(code));
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
    // The charset line lets a browser read the page right without guessing.
    for (const char* line :
         {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">", "<HTML>", "<HEAD>",
          "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=gbk\">", "<TITLE>"})
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
    cells_.clear();
    writeLine("<TR>");
    for (const ExportColumn& column : columns) {
        write("  <TD WIDTH=" + QString::number(column.width) + " ALIGN=\"CENTER\">");
        FontRun(fontRunTags(column.titleFont), column.caption);
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
    cell(static_cast<std::size_t>(&column - layout().columns.data()),
         {column.width, params.alignment, params.background, params.font}, params.text);
}

void TDBGridExportAsHTML::EmitFooterRow(const std::vector<ExportColumn>& columns, int row) {
    writeLine("<TR>");
    TDBGridExport::EmitFooterRow(columns, row);
    writeLine("</TR>");
}

void TDBGridExportAsHTML::EmitFooterCell(std::size_t column, int, const QString& text,
                                         Alignment alignment, QRgb background,
                                         const ExportFont& font, const ExportColumn& exported) {
    cell(column, {exported.width, alignment, background, font}, text);
}

void TDBGridExportAsHTML::cell(std::size_t column, const CellLook& look, const QString& text) {
    const Tags& tags = cells_.get(column, look, [this](const CellLook& l) {
        const Tags run = fontRunTags(l.font);
        return Tags{"  <TD WIDTH=" + QString::number(l.width) + " ALIGN=\"" +
                        alignmentText(l.alignment) + "\" BGCOLOR=#" + HtmlColour(l.background) +
                        ">" + run.open,
                    run.close + "</TD>\r\n"};
    });
    FontRun(tags, text);
}

TDBGridExportAsHTML::Tags TDBGridExportAsHTML::fontRunTags(const ExportFont& font) const {
    Tags tags{"<FONT STYLE=\"font-family: " + font.family +
                  "; font-size: " + QString::number(font.points(layout().dpi)) + "pt; color: #" +
                  HtmlColour(font.colour) + "\">",
              {}};
    const std::pair<bool, const char*> styles[] = {
        {font.bold, "B"}, {font.italic, "I"}, {font.underline, "U"}, {font.strikeOut, "STRIKE"}};
    for (const auto& [on, tag] : styles)
        if (on) {
            tags.open += QStringLiteral("<%1>").arg(tag);
            tags.close += QStringLiteral("</%1>").arg(tag);
        }
    tags.close += "</FONT>";
    return tags;
}

void TDBGridExportAsHTML::FontRun(const Tags& tags, const QString& text) {
    write(tags.open);
    // Characters code page 936 cannot hold are kept as numeric character references.
    write(withCp936Escapes(escaped(text), characterReference));
    write(tags.close);
}
