#include "FittedText.h"

QString fittedText(const QFontMetrics& metrics, const QString& text, Qt::Alignment alignment,
                   int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    return metrics.elidedText(
        text, alignment.testFlag(Qt::AlignRight) ? Qt::ElideLeft : Qt::ElideRight, width);
}

int widthToShow(const QFont& font, const QString& text) {
    return QFontMetrics(font).horizontalAdvance(text) + 2 * kCellTextMargin + 1;
}
