#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

// Whether `text` holds any of the given bytes. Eight bytes are looked at in one step (a word
// whose byte equals b has a zero byte after xor with b repeated); the writers ask this of
// every text cell, and most hold none.
template <char... Bytes> bool holdsAnyByte(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const auto zeroByteIn = [](std::uint64_t word) { return (word - kOnes) & ~word & kHighs; };
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((zeroByteIn(word ^ (kOnes * static_cast<std::uint8_t>(Bytes))) | ...))
            return true;
    }
    for (; i < text.size(); ++i)
        if (((text[i] == Bytes) || ...))
            return true;
    return false;
}
