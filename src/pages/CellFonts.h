#pragma once

#include "table/ExportLayout.h"

#include <QFont>
#include <QFontMetricsF>

#include <memory>
#include <utility>
#include <vector>

// The fonts of a table's cells as they are drawn, each made once, with what tells whether a
// text fits a width without laying it out: its characters' advances added up, each character
// measured once per font. Laying a text out costs as much as drawing it, and most cells fit.
class CellFonts {
public:
    class Font {
    public:
        explicit Font(const QFont& font);
        const QFont& font() const { return font_; }
        // Whether `text` in this font is at most `width` wide; the text is laid out only when
        // its characters' advances add up to more (a kerned pair may draw them closer).
        bool fits(const QString& text, double width);
        // The width of `text` laid out in this font.
        double width(const QString& text) const { return metrics_.horizontalAdvance(text); }

    private:
        QFont font_;
        QFontMetricsF metrics_;
        std::vector<float> advances_; // by UTF-16 code unit; below zero until measured
    };

    // The font a cell of `font` is drawn in: its family, falling back to the Chinese fonts the
    // program knows where that one is missing.
    static QFont qfont(const ExportFont& font);

    Font& of(const ExportFont& font);

private:
    std::vector<std::pair<ExportFont, std::unique_ptr<Font>>> fonts_;
};
