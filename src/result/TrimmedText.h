#pragma once

#include <string>
#include <string_view>

// Removes every character of code 0 to 32 (blanks and control characters) at both ends.
// Works on UTF-8: those codes are single bytes that never occur inside a multi-byte sequence.
std::string trimmedText(std::string_view text);
