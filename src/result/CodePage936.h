#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Code page 936 (GBK, as Windows and SQL Server's Chinese_PRC collations have it), one table
// for the statements' literals and the exports' bytes.

// The code of each character of the basic plane: the byte of ASCII and of the euro sign
// (0x80), the two bytes of any other as one number (0x8140 up); 0 where the code page has no
// code that reads back as the same character. Nothing beyond the basic plane is in the code
// page.
using CodePage936Codes = std::array<std::uint16_t, 0x10000>;
const CodePage936Codes& codePage936Codes();

// A UTF-8 text in code page 936, appended to `out`; each character the code page cannot hold
// becomes "?". False when one did.
bool appendCp936FromUtf8(std::string_view utf8, std::string& out);

// Whether code page 936 holds every character of a UTF-8 text.
bool fitsCodePage936(std::string_view utf8);
