#include "TsqlLike.h"

#include "TsqlText.h"

#include <cstddef>

namespace {

// Whether the bracket set starting after "[" at pattern[at] matches c; `end` receives the
// position after its "]". Returns false with end = npos when the set is not closed.
bool setMatches(std::string_view pattern, std::size_t at, char32_t c, std::size_t& end) {
    bool negated = false;
    if (at < pattern.size() && pattern[at] == '^') {
        negated = true;
        ++at;
    }
    bool matched = false;
    const char32_t wanted = caseFolded(c);
    while (at < pattern.size() && pattern[at] != ']') {
        const char32_t low = caseFolded(nextCodePoint(pattern, at));
        char32_t high = low;
        if (at + 1 < pattern.size() && pattern[at] == '-' && pattern[at + 1] != ']') {
            ++at;
            high = caseFolded(nextCodePoint(pattern, at));
        }
        matched |= wanted >= low && wanted <= high;
    }
    if (at >= pattern.size()) {
        end = std::string_view::npos;
        return false;
    }
    end = at + 1;
    return matched != negated;
}

// Whether one pattern element at p matches the character c; `next` receives the position of
// the element after it.
bool elementMatches(std::string_view pattern, std::size_t p, char32_t c, std::size_t& next) {
    if (pattern[p] == '_') {
        next = p + 1;
        return true;
    }
    if (pattern[p] == '[') {
        std::size_t end = 0;
        const bool matched = setMatches(pattern, p + 1, c, end);
        if (end != std::string_view::npos) {
            next = end;
            return matched;
        }
    }
    next = p;
    return caseFolded(nextCodePoint(pattern, next)) == caseFolded(c);
}

} // namespace

bool tsqlLike(std::string_view pattern, std::string_view text) {
    std::size_t p = 0;
    std::size_t t = 0;
    // Where to go on after the last "%": the pattern after it, and the text it swallows up to.
    std::size_t starPattern = std::string_view::npos;
    std::size_t starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            starPattern = ++p;
            starText = t;
            continue;
        }
        std::size_t afterText = t;
        const char32_t c = nextCodePoint(text, afterText);
        std::size_t afterPattern = p;
        if (p < pattern.size() && elementMatches(pattern, p, c, afterPattern)) {
            p = afterPattern;
            t = afterText;
            continue;
        }
        if (starPattern == std::string_view::npos)
            return false;
        // Let the last "%" swallow one more character and try again from there.
        p = starPattern;
        nextCodePoint(text, starText);
        t = starText;
    }
    while (p < pattern.size() && pattern[p] == '%')
        ++p;
    return p == pattern.size();
}
