#include "WindowLayouts.h"

#include "SettingsKey.h"

#include <charconv>
#include <sstream>

namespace {

constexpr const char* kLayoutKey = "\\SOFTWARE\\QARVO\\TOLMA\\Layout";
constexpr int kFarthest = 1'000'000; // pixels

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

// A whole number and nothing else.
std::optional<int> number(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string readValue(const std::string& name) {
    try {
        if (const auto key = openSettingsKey(kLayoutKey))
            return key->readString(name);
    } catch (const RegistryError&) {
    }
    return {};
}

void writeValue(const std::string& name, const std::string& value) {
    try {
        if (const auto key = openSettingsKey(kLayoutKey))
            key->writeString(name, value);
    } catch (const RegistryError&) {
    }
}

} // namespace

std::string columnsText(const std::vector<StoredColumn>& columns) {
    std::string text;
    for (const StoredColumn& column : columns) {
        if (!text.empty())
            text += ';';
        text +=
            column.field + ':' + std::to_string(column.width) + (column.hidden ? ":hidden" : "");
    }
    return text;
}

std::vector<StoredColumn> columnsFromText(const std::string& text) {
    std::vector<StoredColumn> columns;
    for (const std::string& part : split(text, ';')) {
        const std::vector<std::string> fields = split(part, ':');
        if (fields.size() < 2 || fields.size() > 3 || fields[0].empty())
            continue;
        const std::optional<int> width = number(fields[1]);
        if (!width || (fields.size() == 3 && fields[2] != "hidden"))
            continue;
        columns.push_back({fields[0], *width, fields.size() == 3});
    }
    return columns;
}

std::string placeText(const StoredWindowPlace& place) {
    return std::to_string(place.x) + ',' + std::to_string(place.y) + ',' +
           std::to_string(place.width) + ',' + std::to_string(place.height) +
           (place.maximised ? ",maximised" : "");
}

std::optional<StoredWindowPlace> placeFromText(const std::string& text) {
    const std::vector<std::string> parts = split(text, ',');
    if (parts.size() < 4 || parts.size() > 5 || (parts.size() == 5 && parts[4] != "maximised"))
        return std::nullopt;
    const auto x = number(parts[0]);
    const auto y = number(parts[1]);
    const auto width = number(parts[2]);
    const auto height = number(parts[3]);
    // Beyond any screen's reach the numbers are no place (and would overflow the window
    // system's sums of them).
    const auto reachable = [](int value) { return value > -kFarthest && value < kFarthest; };
    if (!x || !y || !width || !height || *width <= 0 || *height <= 0 || !reachable(*x) ||
        !reachable(*y) || !reachable(*width) || !reachable(*height))
        return std::nullopt;
    return StoredWindowPlace{*x, *y, *width, *height, parts.size() == 5};
}

std::vector<StoredColumn> readGridColumns(const std::string& grid) {
    return columnsFromText(readValue(grid));
}

void writeGridColumns(const std::string& grid, const std::vector<StoredColumn>& columns) {
    writeValue(grid, columnsText(columns));
}

std::optional<StoredWindowPlace> readWindowPlace(const std::string& window) {
    return placeFromText(readValue(window));
}

void writeWindowPlace(const std::string& window, const StoredWindowPlace& place) {
    writeValue(window, placeText(place));
}
