#pragma once

#include <optional>
#include <string>
#include <vector>

// How a user left a grid and a window, stored beside the connection under
// "\SOFTWARE\QARVO\TOLMA\Layout": a grid's columns as one value named after the grid,
// "field:width" or "field:width:hidden" in display order joined by ";", and a window's place
// as one named after the window, "x,y,width,height" with ",maximised" when it was.
struct StoredColumn {
    std::string field;
    int width = 0;
    bool hidden = false;
};

struct StoredWindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximised = false;
};

// What can be read of a grid's stored columns, in their order; a part that cannot be read is
// left out, and nothing stored (or a store that cannot be read) gives none. Whether the
// fields are the grid's own is for the grid to check.
std::vector<StoredColumn> readGridColumns(const std::string& grid);
// An empty list forgets the grid's layout. A store that cannot be written loses it and
// nothing else.
void writeGridColumns(const std::string& grid, const std::vector<StoredColumn>& columns);

// None when nothing readable is stored, or its size is not positive.
std::optional<StoredWindowPlace> readWindowPlace(const std::string& window);
void writeWindowPlace(const std::string& window, const StoredWindowPlace& place);

// The text forms, for the store and its tests.
std::string columnsText(const std::vector<StoredColumn>& columns);
std::vector<StoredColumn> columnsFromText(const std::string& text);
std::string placeText(const StoredWindowPlace& place);
// Nothing for a place that no screen could show: a size of nothing, a number a million
// pixels away or more.
std::optional<StoredWindowPlace> placeFromText(const std::string& text);
