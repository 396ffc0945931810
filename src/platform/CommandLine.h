#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A program's arguments after its name, in UTF-8. On Windows they come from the wide command
// line: the narrow one turns characters outside the ANSI code page into "?".
std::vector<std::string> commandArguments(int argc, char** argv);

// A file path given in UTF-8, and a path's UTF-8 (what SQLite and the settings take); a
// path's string() is the ANSI code page on Windows.
inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
