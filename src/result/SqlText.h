#pragma once

#include <string>
#include <string_view>
#include <vector>

// The quote that opens a literal of this text: "'" or, for a text holding a character outside
// code page 936, "N'", so that SQL Server keeps it as Unicode instead of turning the
// character into "?" in the database's code page.
std::string_view literalOpening(std::string_view text);

// The text as a literal: 'T', or N'T' (see literalOpening), every quote doubled, so that any
// typed text keeps its literal meaning (LIKE's % and _ keep theirs).
std::string sqlLiteral(std::string_view text);

// The codes as the text of an IN list: '01','03','07' (no blanks); empty for no codes.
std::string quotedCodeList(const std::vector<std::string>& codes);

// A free-text criterion line: "  ('T" + middle + "%T%" + tail, with T quoted; the last
// character of middle opens the pattern's literal.
std::string criterionLine(std::string_view text, std::string_view middle, std::string_view tail);

// A warehouse as the grids name it, for the warehouse row `table` (an alias or a table name):
// its name, followed by its code in full-width brackets ("半成品库（03）") where another
// warehouse bears the same name, so that no two warehouses' rows read alike. The statement
// joins the names borne twice with sharedWarehouseNames (once, not a look-up per row: a
// million groups took a third longer so).
std::string warehouseLabel(std::string_view table);
// The join that warehouseLabel reads, as " LEFT OUTER JOIN … namesake ON … " for `table`, the
// warehouses named as the statement names its tables ("dbo.Warehouse" or "Warehouse"); a
// grouped statement groups by "namesake.sharedName" too.
std::string sharedWarehouseNames(std::string_view table, std::string_view warehouses);
