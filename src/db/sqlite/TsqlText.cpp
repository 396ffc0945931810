#include "TsqlText.h"

#include "TsqlDateDiff.h"
#include "TsqlLike.h"

#include <algorithm>
#include <sqlite3.h>
#include <string>
#include <unicode/uchar.h>

namespace {

std::string_view argumentText(sqlite3_value* value) {
    return {reinterpret_cast<const char*>(sqlite3_value_text(value)),
            static_cast<std::size_t>(sqlite3_value_bytes(value))};
}

// "text LIKE pattern" calls like(pattern, text).
void likeFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL ||
        sqlite3_value_type(arguments[1]) == SQLITE_NULL)
        return; // null
    const std::string_view pattern = argumentText(arguments[0]);
    sqlite3_result_int(context, tsqlLike(pattern, argumentText(arguments[1])) ? 1 : 0);
}

// CONCAT(a, b, …): the texts joined, a null counting as empty text, as SQL Server joins them.
void concatFunction(sqlite3_context* context, int count, sqlite3_value** arguments) {
    std::string joined;
    for (int i = 0; i < count; ++i)
        if (sqlite3_value_type(arguments[i]) != SQLITE_NULL)
            joined += argumentText(arguments[i]);
    sqlite3_result_text(context, joined.data(), static_cast<int>(joined.size()), SQLITE_TRANSIENT);
}

int collation(void*, int sizeA, const void* a, int sizeB, const void* b) {
    return tsqlCompare({static_cast<const char*>(a), static_cast<std::size_t>(sizeA)},
                       {static_cast<const char*>(b), static_cast<std::size_t>(sizeB)});
}

} // namespace

char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 0; k < extra && i < text.size(); ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    return cp;
}

char32_t caseFolded(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    // CJK, kana and Yi have no case: most of the ERP's texts need no look-up.
    if (c >= 0x3000 && c < 0xA640)
        return c;
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

int tsqlCompare(std::string_view a, std::string_view b) {
    // ASCII goes byte by byte (equal bytes are equal characters); from the first character
    // beyond it that differs, and for the blanks that pad the shorter text, by code points.
    std::size_t i = 0;
    for (const std::size_t common = std::min(a.size(), b.size()); i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x == y)
            continue;
        if ((x | y) >= 0x80)
            break;
        const char32_t foldedX = caseFolded(x);
        const char32_t foldedY = caseFolded(y);
        if (foldedX != foldedY)
            return foldedX < foldedY ? -1 : 1;
    }
    while (i > 0 && i < a.size() && (static_cast<unsigned char>(a[i]) & 0xC0) == 0x80)
        --i;
    std::size_t j = i;
    while (i < a.size() || j < b.size()) {
        const char32_t x = i < a.size() ? caseFolded(nextCodePoint(a, i)) : U' ';
        const char32_t y = j < b.size() ? caseFolded(nextCodePoint(b, j)) : U' ';
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

int useTsqlTextRules(sqlite3* db) {
    const int rc = sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                           nullptr, likeFunction, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    const int joined = sqlite3_create_function(db, "concat", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                               nullptr, concatFunction, nullptr, nullptr);
    if (joined != SQLITE_OK)
        return joined;
    if (const int days = useTsqlDateDiff(db); days != SQLITE_OK)
        return days;
    return sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, collation);
}
