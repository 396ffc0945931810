#pragma once

#include "ResultColumn.h"

#include <string_view>

// Appends a value that the database delivered as text to a column of any kind: numbers and
// dates are read from the text ("12.5", "2026-03-15 08:00:00"). Returns false, appending
// nothing, when the text is not a value of the column's kind.
bool appendTextValue(ResultColumn& column, std::string_view text);
