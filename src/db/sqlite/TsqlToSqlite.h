#pragma once

#include <string>
#include <string_view>

// Rewrites the T-SQL function ISNULL( as SQLite's IFNULL( wherever it stands outside string
// literals, quoted identifiers and comments; everything else is copied unchanged. SQLite
// reads ISNULL as a keyword, so no function of that name can be registered instead. The unit
// of DATEDIFF(day, …) is quoted ('day'), as SQLite would read the bare word as a column. The
// N of a Unicode literal N'...' is dropped.
std::string tsqlToSqlite(std::string_view statement);
