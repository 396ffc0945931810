#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Little-endian numbers and UCS-2 texts as TDS writes them, appended to a byte string.
namespace tds {

template <typename T> void putLe(std::string& out, T value) {
    auto bits = static_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i, bits >>= 8)
        out += static_cast<char>(bits & 0xFF);
}

inline void putU8(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
}

// UTF-8 text as UTF-16LE bytes.
std::string ucs2(std::string_view utf8);

// A text behind a one-byte (B_VARCHAR) or two-byte (US_VARCHAR) count of UTF-16 units.
void putBVarchar(std::string& out, std::string_view utf8);
void putUsVarchar(std::string& out, std::string_view utf8);

// UTF-16LE bytes back as UTF-8.
std::string utf8FromUcs2(std::string_view bytes);

std::uint16_t readLe16(std::string_view bytes, std::size_t at);
std::uint32_t readLe32(std::string_view bytes, std::size_t at);

} // namespace tds
