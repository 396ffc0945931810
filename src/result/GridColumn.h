#pragma once

#include <optional>
#include <string>

// A footer cell's kind of value.
enum class FooterValue { None, Sum, StaticText };

// A footer's own font; a column without one uses the grid's footer font.
struct FooterFont {
    int pixelSize;
    bool bold;
};

// One column of a result grid, as a window's column table lists it: the result field it
// shows (its title is the field name unless it has a title of its own), its width in pixels,
// whether its title is a title button, and its footer.
struct GridColumn {
    std::string field;
    int width;
    bool titleButton = true;
    FooterValue footer = FooterValue::None;
    std::string footerText = {}; // for StaticText
    std::optional<FooterFont> footerFont = {};
    std::string title = {}; // when it is not the field name

    const std::string& caption() const { return title.empty() ? field : title; }
};

// Every footer of both grids is light orange, RGB (255, 179, 102).
inline constexpr unsigned kFooterColour = 0xFFB366;
