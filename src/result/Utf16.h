#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One code point of UTF-8 text at text[i], i moved past it; an invalid sequence (cut short,
// overlong, a surrogate, beyond U+10FFFF, a stray byte) reads as U+FFFD.
char32_t nextUtf8CodePoint(std::string_view text, std::size_t& i);
// Whether the bytes are UTF-8 text throughout.
bool isValidUtf8(std::string_view text);

// UTF-16 as ODBC's wide functions take it (SQLWCHAR is 16 bits with unixODBC and on Windows).
// Unpaired surrogates and invalid UTF-8 become U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);
void appendUtf16AsUtf8(const char16_t* text, std::size_t length, std::string& out);
