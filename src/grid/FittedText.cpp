#include "FittedText.h"

QString fittedText(const QFontMetrics& metrics, const QString& text, Qt::Alignment alignment,
                   int width) {
    if (!alignment.testFlag(Qt::AlignRight) || metrics.horizontalAdvance(text) <= width)
        return text;
    return metrics.elidedText(text, Qt::ElideLeft, width);
}
