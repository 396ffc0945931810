#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-16 as ODBC's wide functions take it (SQLWCHAR is 16 bits with unixODBC and on Windows).
// Unpaired surrogates and invalid UTF-8 become U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);
void appendUtf16AsUtf8(const char16_t* text, std::size_t length, std::string& out);
