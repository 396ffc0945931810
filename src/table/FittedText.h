#pragma once

#include <QFontMetrics>
#include <QString>

// Space left and right of a cell's text.
inline constexpr int kCellTextMargin = 3;

// The text to draw in a cell `width` pixels wide: a text that does not fit is cut and ends in
// an ellipsis; a right-aligned number starts with one instead, so that it keeps its last
// digits (clipping it at the left would show another number).
QString fittedText(const QFontMetrics& metrics, const QString& text, Qt::Alignment alignment,
                   int width);

// The width of a cell, its margins and its line, that shows `text` in `font` whole.
int widthToShow(const QFont& font, const QString& text);
