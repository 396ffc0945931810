#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Sort keys of texts under the Chinese (pinyin) collation, kept end to end: comparing two keys
// byte by byte orders their texts as the collation does, and equal keys mean texts that
// collate equal. When every text is made of ASCII letters, digits and a few marks (codes and
// batch numbers), each key is built from a per-character table that the collator itself gives
// at start, which is many times quicker than asking it for every text.
class CollationKeys {
public:
    explicit CollationKeys(const std::vector<std::string_view>& texts);

    std::size_t size() const { return ends_.size(); }
    std::string_view key(std::size_t index) const;
    // Whether the keys came from the per-character table.
    bool fromCharacterTable() const { return fromTable_; }
    // The texts' indices in collation order, texts that collate equal next to each other.
    std::vector<std::uint32_t> sortedIndices() const;

private:
    void addCollatorKeys(const std::vector<std::string_view>& texts);

    std::string bytes_;
    std::vector<std::size_t> ends_;
    bool fromTable_ = false;
};
