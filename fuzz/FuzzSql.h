#pragma once

#include <string>
#include <string_view>
#include <vector>

// Whether the lines of a statement, as the program sends them, make exactly one statement that
// SQLite prepares on the demo's schema (as the demo runs it); the reason when not.
std::string preparesAsOneStatement(const std::vector<std::string>& lines);

// What SQLite reads a literal as (after the demo's T-SQL rewriting).
std::string literalReadBack(std::string_view literal);

// The input cut at each byte `separator`.
std::vector<std::string> fuzzFields(const unsigned char* data, std::size_t size, char separator);
