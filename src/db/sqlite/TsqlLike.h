#pragma once

#include <string_view>

// LIKE as SQL Server reads it under a case-insensitive collation such as Chinese_PRC_CI_AS:
// "%" any run of characters, "_" any one character, "[abc]" one of a set, "[a-c]" one of a
// range, "[^a]" any character but these; letters match either case (case folding). Characters are
// whole UTF-8 code points; ranges go by code point. An "[" without its "]" stands for itself.
bool tsqlLike(std::string_view pattern, std::string_view text);
