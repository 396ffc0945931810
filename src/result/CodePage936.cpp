#include "CodePage936.h"

#include "Utf16.h"

#include <unicode/ucnv.h>

#include <array>
#include <memory>

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

} // namespace

// Made once from ICU's "windows-936" converter (the one Qt's encoder of that name wraps where
// Qt has ICU; Qt on Windows has no such encoder): the bytes it writes, kept only when they read
// back as the same character.
const CodePage936Codes& codePage936Codes() {
    static const std::unique_ptr<CodePage936Codes> made = [] {
        auto codes = std::make_unique<CodePage936Codes>();
        for (char32_t c = 0; c < 0x80; ++c)
            (*codes)[c] = static_cast<std::uint16_t>(c);
        UErrorCode status = U_ZERO_ERROR;
        const std::unique_ptr<UConverter, ConverterCloser> converter(
            ucnv_open("windows-936", &status));
        // An unmapped character is an error, not a substitute.
        ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &status);
        ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
        for (char32_t c = 0x80; c < 0x10000 && U_SUCCESS(status); ++c) {
            if (c >= 0xD800 && c < 0xE000)
                continue;
            const auto unit = static_cast<UChar>(c);
            char bytes[8];
            UErrorCode one = U_ZERO_ERROR;
            const int32_t size =
                ucnv_fromUChars(converter.get(), bytes, sizeof bytes, &unit, 1, &one);
            UChar back[4];
            const int32_t backSize =
                U_SUCCESS(one) && (size == 1 || size == 2)
                    ? ucnv_toUChars(converter.get(), back, 4, bytes, size, &one)
                    : 0;
            if (U_FAILURE(one) || backSize != 1 || back[0] != unit)
                continue;
            const auto byte = [&bytes](int i) { return static_cast<unsigned char>(bytes[i]); };
            (*codes)[c] = size == 1 ? byte(0) : static_cast<std::uint16_t>(byte(0) << 8 | byte(1));
        }
        return codes;
    }();
    return *made;
}

bool appendCp936FromUtf8(std::string_view utf8, std::string& out) {
    const CodePage936Codes& t = codePage936Codes();
    bool whole = true;
    for (std::size_t i = 0; i < utf8.size();) {
        // Beyond the basic plane, and bytes that are no UTF-8 (U+FFFD), the code page lacks.
        const char32_t c = nextUtf8CodePoint(utf8, i);
        const std::uint16_t code = c < 0x80      ? static_cast<std::uint16_t>(c)
                                   : c < 0x10000 ? t[c]
                                                 : 0;
        if (code == 0 && c != 0) {
            out += '?';
            whole = false;
        } else if (code < 0x100) {
            out += static_cast<char>(code);
        } else {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        }
    }
    return whole;
}

bool fitsCodePage936(std::string_view utf8) {
    bool ascii = true;
    for (char c : utf8)
        ascii &= static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return true;
    // A character that does not read back whole (ICU's converter alone would drop the
    // default-ignorable ones such as the soft hyphen) needs a Unicode literal.
    std::string ignored;
    return appendCp936FromUtf8(utf8, ignored);
}
