#include "TDBGridExportAsRTF.h"

#include "ChunkedBuffer.h"
#include "Cp936.h"

#include <QScopeGuard>

#include <cmath>

namespace {

const char* alignmentWord(Alignment alignment) {
    switch (alignment) {
    case Alignment::Right:
        return "\\qr";
    case Alignment::Centre:
        return "\\qc";
    case Alignment::Left:
        break;
    }
    return "\\ql";
}

// Backslashes and braces are escaped, a line break is a \line; characters code page 936
// cannot hold are written as Unicode escapes with "?" for readers that do not know them.
QString rtfText(const QString& text) {
    const auto special = [](QChar c) {
        return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
    };
    QString escaped = text;
    if (std::any_of(text.begin(), text.end(), special)) {
        escaped.replace('\\', QStringLiteral("\\\\"));
        escaped.replace('{', QStringLiteral("\\{"));
        escaped.replace('}', QStringLiteral("\\}"));
        escaped.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        escaped.replace('\r', '\n');
        escaped.replace('\n', QStringLiteral("\\line "));
    }
    return withCp936Escapes(escaped, [](char32_t code) {
        // RTF counts in signed 16-bit UTF-16 units.
        QString units;
        for (const QChar unit : QString::fromUcs4(&code, 1))
            units += QStringLiteral("\\u%1?").arg(static_cast<std::int16_t>(unit.unicode()));
        return units;
    });
}

} // namespace

void TDBGridExportAsRTF::WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                                           const TableSnapshot& query) {
    const auto release = qScopeGuard([this] {
        colours_.clear();
        fonts_.clear();
        recordFrame_.clear();
        cells_.clear();
    });
    ColourIndex(qRgb(0, 0, 0));
    ColourIndex(qRgb(255, 255, 255));
    ColourIndex(layout.buttonFace);
    ChunkedBuffer body;
    std::ostream bodyStream(&body);
    TDBGridExport::WriteGridToStream(bodyStream, layout, query);
    // The code page and the fonts' character set (134, GB2312) say how to read the texts.
    std::string header = "{\\rtf0\\ansi\\ansicpg936\r\n{\\colortbl";
    for (const QRgb colour : colours_)
        header += "\\red" + std::to_string(qRed(colour)) + "\\green" +
                  std::to_string(qGreen(colour)) + "\\blue" + std::to_string(qBlue(colour)) + ";";
    header += "}\r\n{\\fonttbl";
    stream << header;
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        const QByteArray name = toCp936(fonts_[i]);
        stream << "\\f" << i << "\\fnil\\fcharset134 ";
        stream.write(name.constData(), name.size());
        stream << ";";
    }
    stream << "}\r\n";
    body.copyTo(stream);
}

int TDBGridExportAsRTF::ColourIndex(QRgb colour) {
    colour = qRgb(qRed(colour), qGreen(colour), qBlue(colour));
    const auto found = std::find(colours_.begin(), colours_.end(), colour);
    if (found != colours_.end())
        return static_cast<int>(found - colours_.begin());
    colours_.push_back(colour);
    return static_cast<int>(colours_.size() - 1);
}

int TDBGridExportAsRTF::FontIndex(const QString& family) {
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i].compare(family, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    fonts_.push_back(family);
    return static_cast<int>(fonts_.size() - 1);
}

int TDBGridExportAsRTF::twips(int pixels) const {
    return static_cast<int>(std::trunc(static_cast<double>(pixels) / layout().dpi * 1440.0));
}

QString TDBGridExportAsRTF::RowFrame(const std::vector<ExportColumn>& columns,
                                     const std::vector<QRgb>& shading) {
    QString frame = "\\trowd\\trgaph40\r\n";
    int right = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        for (const char* side : {"\\clbrdrl", "\\clbrdrt", "\\clbrdrb", "\\clbrdrr"})
            frame += QString(side) + "\\brdrs\\brdrcf0\r\n";
        // The cell's background colour: Word shows it as it shows a full pattern of that
        // colour (\clshdng10000\clcfpatN), and LibreOffice, which paints such a pattern
        // black whatever its colour, shows it right.
        frame += "\\clcbpat" + QString::number(ColourIndex(shading[i]));
        right += twips(columns[i].width);
        frame += "\\cellx" + QString::number(right) + "\r\n";
    }
    return frame + "{\\trrh0\r\n";
}

QString TDBGridExportAsRTF::cellStart(Alignment alignment, int spacing, const ExportFont& font,
                                      QRgb background) {
    QString start = "\\pard\\intbl{" + QString(alignmentWord(alignment)) + "\\sb" +
                    QString::number(spacing) + "\\sa" + QString::number(spacing) + "\\fs" +
                    QString::number(2 * font.points(layout().dpi));
    if (font.bold)
        start += "\\b";
    if (font.italic)
        start += "\\i";
    if (font.strikeOut)
        start += "\\strike";
    if (font.underline)
        start += "\\ul";
    // Table entries are made in the order they are met: font, font colour, background.
    start += "\\f" + QString::number(FontIndex(font.family));
    start += "\\cf" + QString::number(ColourIndex(font.colour));
    start += "\\cb" + QString::number(ColourIndex(background)) + " ";
    return start;
}

void TDBGridExportAsRTF::RtfCell(const QString& start, const QString& text) {
    write(start);
    write(rtfText(text));
    write(QStringLiteral("\\cell}\r\n"));
}

void TDBGridExportAsRTF::EmitTitleRows(const std::vector<ExportColumn>& columns) {
    const ExportLayout& grid = layout();
    const int spacing = std::abs(static_cast<int>(
        std::trunc(static_cast<double>(grid.titleMargin) / 2 / grid.dpi * 1440.0 - 20)));
    std::vector<QRgb> shading;
    for (const ExportColumn& column : columns)
        shading.push_back(column.titleColour);
    write(RowFrame(columns, shading));
    for (const ExportColumn& column : columns)
        RtfCell(cellStart(Alignment::Centre, spacing, column.titleFont, column.titleColour),
                column.caption);
    writeLine("\\pard\\intbl\\row}");
}

void TDBGridExportAsRTF::EmitRecordRow(const std::vector<ExportColumn>& columns) {
    if (recordFrame_.isEmpty()) {
        std::vector<QRgb> shading;
        for (const ExportColumn& column : columns)
            shading.push_back(column.colour);
        recordFrame_ = RowFrame(columns, shading);
    }
    write(recordFrame_);
    TDBGridExport::EmitRecordRow(columns);
    writeLine("\\pard\\intbl\\row}");
}

void TDBGridExportAsRTF::EmitDataCell(const ExportColumn& column, const TColCellParams& params) {
    const CellLook look{column.width, params.alignment, params.background, params.font};
    RtfCell(cells_.get(static_cast<std::size_t>(&column - layout().columns.data()), look,
                       [this](const CellLook& l) {
                           return cellStart(l.alignment, cellSpacing(), l.font, l.background);
                       }),
            params.text);
}

void TDBGridExportAsRTF::EmitFooterRow(const std::vector<ExportColumn>& columns, int row) {
    std::vector<QRgb> shading;
    for (const ExportColumn& column : columns)
        shading.push_back(column.footer.colour);
    write(RowFrame(columns, shading));
    TDBGridExport::EmitFooterRow(columns, row);
    writeLine("\\pard\\intbl\\row}");
}

void TDBGridExportAsRTF::EmitFooterCell(std::size_t, int, const QString& text, Alignment alignment,
                                        QRgb background, const ExportFont& font,
                                        const ExportColumn&) {
    RtfCell(cellStart(alignment, cellSpacing(), font, background), text);
}

void TDBGridExportAsRTF::EndDocument() {
    write("}");
}
