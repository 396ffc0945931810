#include "TDBGridExportAsRTF.h"

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

// Backslashes and braces are escaped; characters code page 936 cannot hold are written as
// Unicode escapes with "?" for readers that do not know them.
QByteArray rtfText(const QString& text) {
    QString escaped = text;
    escaped.replace('\\', QStringLiteral("\\\\"));
    escaped.replace('{', QStringLiteral("\\{"));
    escaped.replace('}', QStringLiteral("\\}"));
    return toCp936(escaped, [](char32_t code) {
        const auto escape = [](int unit) { return "\\u" + QByteArray::number(unit) + "?"; };
        // RTF counts in signed 16-bit UTF-16 units.
        QByteArray bytes;
        for (const QChar unit : QString::fromUcs4(&code, 1))
            bytes += escape(static_cast<std::int16_t>(unit.unicode()));
        return bytes;
    });
}

} // namespace

void TDBGridExportAsRTF::WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                                           ResultQuery& query) {
    colours_.clear();
    fonts_.clear();
    const auto release = qScopeGuard([this] {
        colours_.clear();
        fonts_.clear();
    });
    ColourIndex(qRgb(0, 0, 0));
    ColourIndex(qRgb(255, 255, 255));
    ColourIndex(layout.buttonFace);
    std::ostringstream body;
    TDBGridExport::WriteGridToStream(body, layout, query);
    std::string header = "{\\rtf0\\ansi\r\n{\\colortbl";
    for (const QRgb colour : colours_)
        header += "\\red" + std::to_string(qRed(colour)) + "\\green" +
                  std::to_string(qGreen(colour)) + "\\blue" + std::to_string(qBlue(colour)) + ";";
    header += "}\r\n{\\fonttbl";
    stream << header;
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        const QByteArray name = toCp936(fonts_[i]);
        stream << "\\f" << i << "\\fnil ";
        stream.write(name.constData(), name.size());
        stream << ";";
    }
    stream << "}\r\n" << body.view();
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

void TDBGridExportAsRTF::RowFrame(const std::vector<ExportColumn>& columns,
                                  const std::vector<QRgb>& shading) {
    write("\\trowd");
    writeLine("\\trgaph40");
    int right = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        for (const char* side : {"\\clbrdrl", "\\clbrdrt", "\\clbrdrb", "\\clbrdrr"})
            writeLine(QString(side) + "\\brdrs\\brdrcf0");
        write("\\clshdng10000\\clcfpat" + QString::number(ColourIndex(shading[i])));
        right += twips(columns[i].width);
        writeLine("\\cellx" + QString::number(right));
    }
    writeLine("{\\trrh0");
}

void TDBGridExportAsRTF::RtfCell(Alignment alignment, int spacing, const ExportFont& font,
                                 const QString& text, QRgb background) {
    QString run = "\\pard\\intbl{" + QString(alignmentWord(alignment)) + "\\sb" +
                  QString::number(spacing) + "\\sa" + QString::number(spacing) + "\\fs" +
                  QString::number(2 * font.points(layout().dpi));
    if (font.bold)
        run += "\\b";
    if (font.italic)
        run += "\\i";
    if (font.strikeOut)
        run += "\\strike";
    if (font.underline)
        run += "\\ul";
    run += "\\f" + QString::number(FontIndex(font.family));
    run += "\\cf" + QString::number(ColourIndex(font.colour));
    run += "\\cb" + QString::number(ColourIndex(background)) + " ";
    write(run);
    writeBytes(rtfText(text));
    writeLine("\\cell}");
}

void TDBGridExportAsRTF::EmitTitleRows(const std::vector<ExportColumn>& columns) {
    const ExportLayout& grid = layout();
    const int spacing = std::abs(static_cast<int>(
        std::trunc(static_cast<double>(grid.titleMargin) / 2 / grid.dpi * 1440.0 - 20)));
    std::vector<QRgb> shading;
    for (const ExportColumn& column : columns)
        shading.push_back(column.titleColour);
    RowFrame(columns, shading);
    for (const ExportColumn& column : columns)
        RtfCell(Alignment::Centre, spacing, column.titleFont, column.caption, column.titleColour);
    writeLine("\\pard\\intbl\\row}");
}

void TDBGridExportAsRTF::EmitRecordRow(const std::vector<ExportColumn>& columns) {
    std::vector<QRgb> shading;
    for (const ExportColumn& column : columns)
        shading.push_back(column.colour);
    RowFrame(columns, shading);
    TDBGridExport::EmitRecordRow(columns);
    writeLine("\\pard\\intbl\\row}");
}

void TDBGridExportAsRTF::EmitDataCell(const ExportColumn&, const TColCellParams& params) {
    RtfCell(params.alignment, cellSpacing(), params.font, params.text, params.background);
}

void TDBGridExportAsRTF::EmitFooterRow(const std::vector<ExportColumn>& columns, int row) {
    std::vector<QRgb> shading;
    for (const ExportColumn& column : columns)
        shading.push_back(column.footer.colour);
    RowFrame(columns, shading);
    TDBGridExport::EmitFooterRow(columns, row);
    writeLine("\\pard\\intbl\\row}");
}

void TDBGridExportAsRTF::EmitFooterCell(std::size_t, int, const QString& text, Alignment alignment,
                                        QRgb background, const ExportFont& font,
                                        const ExportColumn&) {
    RtfCell(alignment, cellSpacing(), font, text, background);
}

void TDBGridExportAsRTF::EndDocument() {
    write("}");
}
