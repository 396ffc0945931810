#pragma once

#include <QFontMetrics>
#include <QString>

// Space left and right of a cell's text.
inline constexpr int kCellTextMargin = 3;

// The text to draw in a cell `width` pixels wide. Clipping a right-aligned number at the left
// would drop its leading digits and show another number, so such a number that does not fit
// starts with an ellipsis instead; any other text is drawn whole and clipped at the cell.
QString fittedText(const QFontMetrics& metrics, const QString& text, Qt::Alignment alignment,
                   int width);

// The width of a cell, its margins and its line, that shows `text` in `font` whole.
int widthToShow(const QFont& font, const QString& text);
