#pragma once

// The sanitized build runs several times slower: tests that bound a wait or repeat work for a
// while scale by it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kUnderSanitizers = true;
#else
inline constexpr bool kUnderSanitizers = false;
#endif
