#pragma once

#include <cstdint>
#include <span>

// A small deterministic generator (splitmix64): the same seed gives the same database on
// every platform, which the standard distributions do not promise.
class DemoRandom {
public:
    explicit DemoRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // A number in [0, bound).
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }
    // True with the given chance in percent.
    bool percent(int chance) { return below(100) < chance; }
    template <typename T> const T& pick(std::span<const T> items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

private:
    std::uint64_t state_;
};
