#pragma once

#include <string_view>

// SQL's LIKE as the databases here apply it, written apart from them for checking results:
// "%" any run of characters, "_" one character (UTF-8), ASCII letters without regard to case.
inline bool likeMatches(std::string_view text, std::string_view pattern) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    const auto charLength = [](std::string_view s) {
        const auto lead = static_cast<unsigned char>(s[0]);
        const std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        return n <= s.size() ? n : s.size();
    };
    if (pattern.empty())
        return text.empty();
    if (pattern[0] == '%') {
        for (std::size_t at = 0;; at += charLength(text.substr(at))) {
            if (likeMatches(text.substr(at), pattern.substr(1)))
                return true;
            if (at >= text.size())
                return false;
        }
    }
    if (text.empty())
        return false;
    const std::size_t n = charLength(text);
    if (pattern[0] == '_')
        return likeMatches(text.substr(n), pattern.substr(1));
    const std::size_t m = charLength(pattern);
    if (n != m)
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (lower(text[i]) != lower(pattern[i]))
            return false;
    return likeMatches(text.substr(n), pattern.substr(m));
}
