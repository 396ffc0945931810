#include "Utf16.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendCodePoint(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

char32_t nextUtf8CodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || lead >= 0xF5)
        return kReplacement;
    char32_t cp = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return kReplacement;
        cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
        return kReplacement;
    return cp;
}

bool isValidUtf8(std::string_view text) {
    std::string again;
    for (std::size_t i = 0; i < text.size();)
        appendCodePoint(nextUtf8CodePoint(text, i), again);
    return again == text; // an invalid sequence came back as U+FFFD's bytes
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextUtf8CodePoint(utf8, i);
        if (cp < 0x10000) {
            out += static_cast<char16_t>(cp);
        } else {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return out;
}

void appendUtf16AsUtf8(const char16_t* text, std::size_t length, std::string& out) {
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t unit = text[i];
        if (unit < 0x80) {
            out += static_cast<char>(unit);
            continue;
        }
        char32_t cp = unit;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            cp = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            cp = kReplacement;
        }
        appendCodePoint(cp, out);
    }
}
