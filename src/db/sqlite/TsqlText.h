#pragma once

#include <string_view>

struct sqlite3;

// Text as SQL Server compares it under the ERP's case-insensitive collation (Chinese_PRC_CI_AS),
// so that the demo database answers the program's statements as the server does.

// The code point at text[i], advancing i; a byte that starts no valid sequence stands alone.
char32_t nextCodePoint(std::string_view text, std::size_t& i);

// A character with its case folded (simple Unicode case folding: "Ω" and "ω" are one).
char32_t caseFolded(char32_t c);

// Compares as "=", "IN", GROUP BY and ORDER BY do: case folded, and the shorter text padded
// with blanks, so trailing blanks do not count ("01 " = "01").
int tsqlCompare(std::string_view a, std::string_view b);

// Makes a SQLite connection compare its NOCASE columns with tsqlCompare, answer LIKE with
// tsqlLike, join texts with CONCAT and count days with DATEDIFF; returns SQLite's result code.
int useTsqlTextRules(sqlite3* db);
