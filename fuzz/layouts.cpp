// Stored grid columns and window places as anyone may edit them: whatever reads is written
// back as the same layout, and no part read is out of its range.
#include "settings/WindowLayouts.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<StoredColumn> columns = columnsFromText(text);
    for (const StoredColumn& column : columns)
        if (column.field.empty())
            std::abort();
    const std::vector<StoredColumn> again = columnsFromText(columnsText(columns));
    if (again.size() != columns.size())
        std::abort();
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (again[i].field != columns[i].field || again[i].width != columns[i].width ||
            again[i].hidden != columns[i].hidden)
            std::abort();
    if (const auto place = placeFromText(text)) {
        const auto back = placeFromText(placeText(*place));
        if (!back || back->x != place->x || back->y != place->y || back->width != place->width ||
            back->height != place->height || back->maximised != place->maximised ||
            place->width <= 0 || place->height <= 0)
            std::abort();
        for (const int number : {place->x, place->y, place->width, place->height})
            if (number <= -1'000'000 || number >= 1'000'000)
                std::abort(); // a sum of two would overflow
    }
    return 0;
}
