#pragma once

#include "ExportLayout.h"
#include "GridSettings.h"

#include <QFont>
#include <QRgb>
#include <QString>

#include <vector>

class ResultTableModel;
struct QueryShape;

// How a table model is shown: which of its columns in which order and at which widths, and
// the grid's fonts, colours and screen resolution. A grid reads it off its title row; the
// command takes the view a fresh grid starts with.
struct TableView {
    struct Column {
        int logical; // the model's column
        int width;   // pixels
    };
    QString name;                // the grid's component name
    QString title;               // the caption of the grid's window
    std::vector<Column> columns; // shown columns, in display order
    int frozenColumns = 0;       // leading shown columns that stay in place when it scrolls
    GridSettings settings;
    QFont font;
    QRgb buttonFace = qRgb(240, 240, 240); // the system colour of window frames
    QRgb text = qRgb(0, 0, 0);             // the system colour of window text
    int dpi = 96;
};

// The view of a freshly opened grid of `shape`: every column in table order at its display
// width, the grids' font, the system colours and the primary screen's resolution.
TableView startingView(const ResultTableModel& model, const QueryShape& shape);

// The table as the export sees it: its shown columns in display order with their titles as
// they read now (sort markers included), widths, fonts, colours and footers.
ExportLayout exportLayout(const ResultTableModel& model, const TableView& view);
