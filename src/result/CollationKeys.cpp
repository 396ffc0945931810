#include "CollationKeys.h"

#include "DbError.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

namespace {

struct CollatorCloser {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};
using Collator = std::unique_ptr<UCollator, CollatorCloser>;

Collator pinyinCollator() {
    UErrorCode status = U_ZERO_ERROR;
    Collator collator(ucol_open("zh", &status));
    if (U_FAILURE(status))
        throw DbError(std::string("no Chinese collation: ") + u_errorName(status));
    return collator;
}

// Appends the collator's key of a UTF-8 text, without its closing zero byte.
void appendCollatorKey(const UCollator* collator, std::string_view utf8, std::u16string& scratch,
                       std::string& out) {
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    scratch.resize(utf8.size() + 1);
    u_strFromUTF8Lenient(reinterpret_cast<UChar*>(scratch.data()),
                         static_cast<int32_t>(scratch.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), &status);
    const std::size_t start = out.size();
    out.resize(start + 2 * utf8.size() + 16);
    for (;;) {
        const auto room = static_cast<int32_t>(out.size() - start);
        const int32_t needed =
            ucol_getSortKey(collator, reinterpret_cast<const UChar*>(scratch.data()), length,
                            reinterpret_cast<uint8_t*>(out.data() + start), room);
        if (needed <= room) {
            out.resize(start + static_cast<std::size_t>(needed) - 1);
            return;
        }
        out.resize(start + static_cast<std::size_t>(needed));
    }
}

// The characters of codes and batch numbers. Each is one collation element in the Chinese
// collation, so a text of them collates as its characters' primary weights, then (all
// secondaries being equal) their tertiary (case) weights, each level left to right.
constexpr std::string_view kTableCharacters =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_./ ";

// Per ASCII character, the rank of its primary and of its tertiary weight among the table's
// characters, starting at 1; 0 for a character outside the table.
struct CharacterTable {
    std::array<std::uint8_t, 128> primary{};
    std::array<std::uint8_t, 128> tertiary{};
};

CharacterTable characterTable() {
    const Collator collator = pinyinCollator();
    struct Levels {
        std::string primary, secondary, tertiary;
    };
    std::vector<Levels> levels;
    std::u16string scratch;
    for (const char c : kTableCharacters) {
        std::string key;
        appendCollatorKey(collator.get(), std::string_view(&c, 1), scratch, key);
        // Levels are separated by the byte 1.
        const std::size_t first = key.find('\1');
        const std::size_t second = key.find('\1', first + 1);
        levels.push_back({key.substr(0, first), key.substr(first + 1, second - first - 1),
                          key.substr(second + 1)});
    }
    const auto ranks = [&](std::string Levels::*level) {
        std::vector<std::string> distinct;
        for (const Levels& each : levels)
            distinct.push_back(each.*level);
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        std::vector<std::uint8_t> rankOf;
        for (const Levels& each : levels)
            rankOf.push_back(static_cast<std::uint8_t>(
                1 + std::lower_bound(distinct.begin(), distinct.end(), each.*level) -
                distinct.begin()));
        return rankOf;
    };
    const std::vector<std::uint8_t> primary = ranks(&Levels::primary);
    const std::vector<std::uint8_t> tertiary = ranks(&Levels::tertiary);
    CharacterTable table;
    for (std::size_t i = 0; i < kTableCharacters.size(); ++i) {
        if (levels[i].secondary != levels[0].secondary)
            continue; // would need the secondary level: left to the collator
        const auto c = static_cast<unsigned char>(kTableCharacters[i]);
        table.primary[c] = primary[i];
        table.tertiary[c] = tertiary[i];
    }
    return table;
}

// Appends the key of a text made only of the table's characters: their primary ranks, a zero
// byte (so that a text sorts before the longer texts it begins), then their tertiary ranks.
// False, with nothing appended, for any other text.
bool appendTableKey(const CharacterTable& table, std::string_view text, std::string& out) {
    const std::size_t start = out.size();
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= table.primary.size() || table.primary[code] == 0) {
            out.resize(start);
            return false;
        }
        out.push_back(static_cast<char>(table.primary[code]));
    }
    out.push_back('\0');
    for (const char c : text)
        out.push_back(static_cast<char>(table.tertiary[static_cast<unsigned char>(c)]));
    return true;
}

// An item to sort: a text's index and the eight bytes of its key from the depth its group has
// reached, zero-padded past the key's end, as one number that compares as those bytes do.
struct SortItem {
    std::uint64_t bytes;
    std::uint32_t index;
};

// No key is a proper beginning of another that continues with a zero byte (collator keys hold
// no zero, and a table key's one zero comes after as many primaries as its length gives), so
// two keys that read the same padded bytes and both end there are equal.
std::uint64_t eightBytes(std::string_view key, std::size_t depth) {
    std::uint64_t bytes = 0;
    for (std::size_t i = depth; i < depth + 8; ++i)
        bytes = bytes << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0U);
    return bytes;
}

// Many items are sorted a byte at a time, the last first, leaving out bytes they all share.
constexpr std::size_t kRadixSortSize = 4096;

void radixSortByBytes(SortItem* items, std::size_t count) {
    std::vector<SortItem> scratch(count);
    SortItem* from = items;
    SortItem* to = scratch.data();
    for (int shift = 0; shift < 64; shift += 8) {
        std::array<std::size_t, 256> places{};
        for (std::size_t i = 0; i < count; ++i)
            ++places[(from[i].bytes >> shift) & 0xFF];
        if (places[(from[0].bytes >> shift) & 0xFF] == count)
            continue;
        std::size_t place = 0;
        for (std::size_t& next : places)
            place += std::exchange(next, place);
        for (std::size_t i = 0; i < count; ++i)
            to[places[(from[i].bytes >> shift) & 0xFF]++] = from[i];
        std::swap(from, to);
    }
    if (from != items)
        std::copy(from, from + count, items);
}

// Sorts items whose keys agree on their first `depth` bytes by the eight bytes they hold, then
// each run that agrees on those too by its next eight: the long common beginnings of codes
// cost one pass per eight bytes rather than a look at every comparison.
template <typename Keys>
void sortByKeyBytes(SortItem* items, std::size_t count, std::size_t depth, const Keys& keys) {
    if (count >= kRadixSortSize)
        radixSortByBytes(items, count);
    else
        std::sort(items, items + count,
                  [](const SortItem& a, const SortItem& b) { return a.bytes < b.bytes; });
    for (std::size_t start = 0, end = 0; start < count; start = end) {
        end = start + 1;
        while (end < count && items[end].bytes == items[start].bytes)
            ++end;
        if (end - start < 2 || keys(items[start].index).size() <= depth + 8)
            continue; // one key, or keys that all end within these bytes: equal ones
        for (std::size_t i = start; i < end; ++i)
            items[i].bytes = eightBytes(keys(items[i].index), depth + 8);
        sortByKeyBytes(items + start, end - start, depth + 8, keys);
    }
}

} // namespace

CollationKeys::CollationKeys(const std::vector<std::string_view>& texts) {
    static const CharacterTable table = characterTable();
    ends_.reserve(texts.size());
    fromTable_ = true;
    for (const std::string_view text : texts) {
        if (!appendTableKey(table, text, bytes_)) {
            fromTable_ = false;
            break;
        }
        ends_.push_back(bytes_.size());
    }
    if (!fromTable_)
        addCollatorKeys(texts);
}

void CollationKeys::addCollatorKeys(const std::vector<std::string_view>& texts) {
    bytes_.clear();
    ends_.clear();
    const Collator collator = pinyinCollator();
    std::u16string scratch;
    for (const std::string_view text : texts) {
        appendCollatorKey(collator.get(), text, scratch, bytes_);
        ends_.push_back(bytes_.size());
    }
}

std::string_view CollationKeys::key(std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(bytes_).substr(start, ends_[index] - start);
}

std::vector<std::uint32_t> CollationKeys::sortedIndices() const {
    std::vector<SortItem> items(size());
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = {eightBytes(key(i), 0), static_cast<std::uint32_t>(i)};
    sortByKeyBytes(items.data(), items.size(), 0,
                   [this](std::uint32_t index) { return key(index); });
    std::vector<std::uint32_t> indices(items.size());
    std::transform(items.begin(), items.end(), indices.begin(),
                   [](const SortItem& item) { return item.index; });
    return indices;
}
