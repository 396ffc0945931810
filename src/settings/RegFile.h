#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text of one key in the style of a registry export:
//   [HKEY_LOCAL_MACHINE\SOFTWARE\...]
//   "name"="text"            a string value
//   "name"=hex(2):41,00,00,00  an expandable string (UTF-16LE bytes)
//   "name"=hex(1):...        a string holding control characters
//   "name"=dword:0000000c    a number, and other hex(N) types, kept as they stand
struct RegValue {
    enum class Type { String, ExpandString, Other };
    std::string name;
    Type type = Type::String;
    std::string text; // the string for String and ExpandString; the raw data text for Other
};

// Throws RegistryError when the text is not in this form.
std::vector<RegValue> parseRegFile(std::string_view text);
std::string formatRegFile(std::string_view keyPath, const std::vector<RegValue>& values);
