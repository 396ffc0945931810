#pragma once

#include "result/GridColumn.h"

#include <QRgb>
#include <QString>

#include <string>
#include <vector>

enum class Alignment { Left, Right, Centre };

// A font as the writers describe it.
struct ExportFont {
    QString family;
    int pixelSize = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QRgb colour = qRgb(0, 0, 0);

    // The size in whole points on a screen of `dpi` pixels per inch, rounded half up.
    int points(int dpi) const { return (pixelSize * 72 + dpi / 2) / dpi; }

    bool operator==(const ExportFont&) const = default;
};

struct ExportFooter {
    FooterValue type = FooterValue::None;
    QString text; // for StaticText
    ExportFont font;
    QRgb colour = qRgb(255, 255, 255);
    Alignment alignment = Alignment::Left;
};

// One shown column of the grid, in display order, as the writers see it.
struct ExportColumn {
    std::string field;
    QString caption; // as the title shows it, a sort marker included
    int width = 64;  // pixels
    ExportFont titleFont;
    QRgb titleColour = qRgb(255, 255, 255);
    ExportFont font;
    QRgb colour = qRgb(255, 255, 255);
    Alignment alignment = Alignment::Left;
    ExportFooter footer;
};

// What the export needs of a grid besides its rows.
struct ExportLayout {
    QString name;          // the grid's component name
    QString title;         // the caption of the grid's window
    QString criteria;      // the criteria in force, as a printed page's heading shows them
    int frozenColumns = 0; // leading shown columns that stay in place when the grid scrolls
    std::vector<ExportColumn> columns;
    QRgb fixedColour = qRgb(240, 240, 240); // titles and indicator
    QRgb buttonFace = qRgb(240, 240, 240);
    QRgb colour = qRgb(255, 255, 255); // data cells
    int footerRows = 1;
    bool columnLines = true;
    bool rowLines = true;
    bool ctl3d = true;
    bool flat = false;
    int titleMargin = 10; // pixels
    int dpi = 96;
};

// One data cell as a writer receives it.
struct TColCellParams {
    ExportFont font;
    QRgb background = qRgb(255, 255, 255);
    Alignment alignment = Alignment::Left;
    QString text;
};
