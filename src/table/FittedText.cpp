#include "FittedText.h"

QString fittedText(const QFontMetrics& metrics, const QString& text, Qt::Alignment alignment,
                   int width) {
    if (!alignment.testFlag(Qt::AlignRight) || metrics.horizontalAdvance(text) <= width)
        return text;
    return metrics.elidedText(text, Qt::ElideLeft, width);
}

int widthToShow(const QFont& font, const QString& text) {
    return QFontMetrics(font).horizontalAdvance(text) + 2 * kCellTextMargin + 1;
}
