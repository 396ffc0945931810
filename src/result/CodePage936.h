#pragma once

#include <string_view>

// Whether code page 936 (GBK, as Windows and SQL Server's Chinese_PRC collations have it)
// holds every character of a UTF-8 text.
bool fitsCodePage936(std::string_view utf8);
