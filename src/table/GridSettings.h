#pragma once

#include <QColor>

// The system colour of window frames, which titles and the indicator column take.
QColor systemButtonFace();

// Which lines and keys a grid has, of its Options: lines between columns and between rows, and
// Tab moving between columns.
struct GridOptions {
    bool colLines = true;
    bool rowLines = true;
    bool tabs = true;
};

// A result grid's settings under the names the windows' layouts give them. Both query grids
// use these values and differ only in FrozenCols; the grid is always read-only, shows every
// row, and never reorders rows itself.
struct GridSettings {
    int FrozenCols = 0;     // leading columns that stay in place when the rows scroll sideways
    int TitleLines = 2;     // the title row's height in lines of the title font
    int FooterRowCount = 1; // footer rows under the data rows
    GridOptions Options;
    QColor Color = Qt::white; // data cells
    // Titles and the indicator column: the system colour of window frames.
    QColor FixedColor = systemButtonFace();
    bool Ctl3D = true; // the three-dimensional look, which exports carry over
    bool Flat = false;
    int VTitleMargin = 10; // pixels above and below a title, for exports
};
