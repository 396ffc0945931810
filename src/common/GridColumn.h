#pragma once

#include <string>

// One column of a result grid, as a window's column table lists it: the result field it
// shows (its title is the field name) and its width in pixels.
struct GridColumn {
    std::string field;
    int width;
};
