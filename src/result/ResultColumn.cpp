#include "ResultColumn.h"

#include "DbError.h"
#include "FixedPoint.h"

#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kRecentTextSlots = 65536;
// A result holds at most 2^28 rows (and 4 GiB of text a column): its columns reserve address
// space for that much, taking memory only as they fill.
constexpr std::size_t kMaxRows = std::size_t{1} << 28;
constexpr std::size_t kMaxTextBytes = std::numeric_limits<std::uint32_t>::max();

// A quick hash, eight bytes at a time: it only picks a slot of the recent-texts table.
std::uint32_t textHash(std::string_view text) {
    std::uint64_t hash = text.size() * 0x9E3779B97F4A7C15ULL;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        hash = (hash ^ word) * 0xBF58476D1CE4E5B9ULL;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, text.data() + at, text.size() - at);
    hash = (hash ^ tail) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>(hash >> 32);
}

// Entries are a length (7 bits a byte, high bit set when more follow) and the bytes.
std::string_view entryAt(const char* arena, std::uint32_t offset) {
    std::size_t length = 0;
    std::size_t at = offset;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(arena[at++]);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            break;
    }
    return {arena + at, length};
}

} // namespace

ResultColumn::ResultColumn(std::string name, FieldKind kind)
    : name_(std::move(name)), kind_(kind), nulls_(kMaxRows / 64), integers_(kMaxRows),
      doubles_(kMaxRows), arena_(kMaxTextBytes), textAt_(kMaxRows) {
    if (kind_ == FieldKind::Text) {
        arena_.push_back('\0'); // entry 0: the empty text, shared by nulls and ""
        recentTexts_.assign(kRecentTextSlots, 0);
    }
}

void ResultColumn::markRow(bool null) {
    if (size_ % 64 == 0)
        nulls_.push_back(0);
    if (null) {
        std::uint64_t& word = nulls_.back();
        std::atomic_ref(word).store(word | std::uint64_t{1} << (size_ % 64),
                                    std::memory_order_relaxed);
        std::atomic_ref(hasNulls_).store(true, std::memory_order_relaxed);
    }
    ++size_;
}

void ResultColumn::appendNull() {
    if (kind_ == FieldKind::Text)
        textAt_.push_back(0);
    else if (kind_ == FieldKind::Double)
        doubles_.push_back(0);
    else
        integers_.push_back(0);
    markRow(true);
}

void ResultColumn::appendText(std::string_view utf8) {
    textAt_.push_back(utf8.empty() ? 0 : storeText(utf8));
    markRow(false);
}

std::uint32_t ResultColumn::storeText(std::string_view utf8) {
    std::uint32_t& recent = recentTexts_[textHash(utf8) % kRecentTextSlots];
    if (recent != 0 && entryAt(arena_.data(), recent) == utf8)
        return recent;
    if (arena_.size() + utf8.size() + 10 > kMaxTextBytes)
        throw DbError("result column " + name_ + " holds more than 4 GiB of text");
    const auto offset = static_cast<std::uint32_t>(arena_.size());
    for (std::size_t length = utf8.size();; length >>= 7) {
        const auto low = static_cast<char>(length & 0x7F);
        if (length < 0x80) {
            arena_.push_back(low);
            break;
        }
        arena_.push_back(static_cast<char>(low | 0x80));
    }
    arena_.append(utf8.data(), utf8.size());
    recent = offset;
    return offset;
}

void ResultColumn::appendInteger(std::int64_t value) {
    integers_.push_back(value);
    markRow(false);
}

void ResultColumn::appendDouble(double value) {
    doubles_.push_back(value);
    markRow(false);
}

std::string_view ResultColumn::text(std::size_t row) const {
    return entryAt(arena_.data(), textAt_[row]);
}

std::string_view ResultColumn::entryText(std::uint32_t entry) const {
    return entryAt(arena_.data(), entry);
}

double ResultColumn::floatOf(FieldKind kind, std::uint64_t bits) {
    switch (kind) {
    case FieldKind::Decimal:
        return static_cast<double>(static_cast<std::int64_t>(bits)) /
               static_cast<double>(kTenThousand);
    case FieldKind::Integer:
        return static_cast<double>(static_cast<std::int64_t>(bits));
    case FieldKind::Double:
        return std::bit_cast<double>(bits);
    case FieldKind::Text:
    case FieldKind::DateTime:
        break;
    }
    return 0;
}

std::size_t ResultColumn::memoryBytes() const {
    return nulls_.memoryBytes() + integers_.memoryBytes() + doubles_.memoryBytes() +
           arena_.memoryBytes() + textAt_.memoryBytes() +
           recentTexts_.capacity() * sizeof(std::uint32_t);
}
