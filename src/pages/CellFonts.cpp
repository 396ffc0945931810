#include "CellFonts.h"

#include "table/Fonts.h"

#include <QStringList>

#include <algorithm>

namespace {

// A character whose width depends on its neighbours or on the line: it is measured in place.
bool measuredAlone(QChar character) {
    return character.unicode() >= 0x20 && !character.isSurrogate() && !character.isMark();
}

} // namespace

CellFonts::Font::Font(const QFont& font) : font_(font), metrics_(font), advances_(0x10000, -1) {}

bool CellFonts::Font::fits(const QString& text, double width) {
    double added = 0;
    for (const QChar character : text) {
        if (!measuredAlone(character))
            return this->width(text) <= width;
        float& advance = advances_[character.unicode()];
        if (advance < 0)
            advance = static_cast<float>(metrics_.horizontalAdvance(character));
        added += advance;
    }
    return added <= width || this->width(text) <= width;
}

QFont CellFonts::qfont(const ExportFont& font) {
    QFont qfont = songTi(font.pixelSize, font.bold);
    qfont.setFamilies(QStringList{font.family} + qfont.families());
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    return qfont;
}

CellFonts::Font& CellFonts::of(const ExportFont& font) {
    const auto known = std::find_if(fonts_.begin(), fonts_.end(),
                                    [&](const auto& entry) { return entry.first == font; });
    if (known != fonts_.end())
        return *known->second;
    fonts_.emplace_back(font, std::make_unique<Font>(qfont(font)));
    return *fonts_.back().second;
}
