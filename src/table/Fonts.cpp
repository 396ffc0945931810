#include "Fonts.h"

#include <QStringList>

namespace {

const QStringList kCjkFallbacks = {"SimSun", "宋体", "WenQuanYi Zen Hei", "Noto Sans CJK SC"};

QFont fontOf(QStringList families, int pixelSize, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace

QFont songTi(int pixelSize, bool bold) {
    return fontOf(QStringList{"宋体"} + kCjkFallbacks, pixelSize, bold);
}

QFont msSansSerif(int pixelSize) {
    return fontOf(QStringList{"MS Sans Serif", "Microsoft Sans Serif"} + kCjkFallbacks, pixelSize,
                  false);
}
