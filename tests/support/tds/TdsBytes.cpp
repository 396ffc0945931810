#include "TdsBytes.h"

#include "result/Utf16.h"

namespace tds {

std::string ucs2(std::string_view utf8) {
    const std::u16string units = utf8ToUtf16(utf8);
    std::string out;
    out.reserve(units.size() * 2);
    for (char16_t unit : units)
        putLe<std::uint16_t>(out, unit);
    return out;
}

void putBVarchar(std::string& out, std::string_view utf8) {
    const std::string bytes = ucs2(utf8);
    putU8(out, static_cast<unsigned>(bytes.size() / 2));
    out += bytes;
}

void putUsVarchar(std::string& out, std::string_view utf8) {
    const std::string bytes = ucs2(utf8);
    putLe<std::uint16_t>(out, static_cast<std::uint16_t>(bytes.size() / 2));
    out += bytes;
}

std::string utf8FromUcs2(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(readLe16(bytes, i));
    std::string out;
    appendUtf16AsUtf8(units.data(), units.size(), out);
    return out;
}

std::uint16_t readLe16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::uint32_t readLe32(std::string_view bytes, std::size_t at) {
    return readLe16(bytes, at) | (static_cast<std::uint32_t>(readLe16(bytes, at + 2)) << 16);
}

} // namespace tds
