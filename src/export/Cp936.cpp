#include "Cp936.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <memory>

namespace {

// Code page 936 of every character of the basic plane, made once from ICU's "windows-936"
// converter (the one Qt's encoder of that name wraps where Qt has ICU; Qt on Windows has no
// such encoder): the bytes it writes (one byte for ASCII and 0x80 for the euro sign, two bytes
// from 0x8140 up), kept only when they read back as the same character, 0 otherwise. Nothing
// beyond the basic plane is in the code page.
using Codes = std::array<std::uint16_t, 0x10000>;

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

const Codes& codes() {
    static const std::unique_ptr<Codes> made = [] {
        auto codes = std::make_unique<Codes>();
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

// Whether the code page holds a character of the basic plane (NUL included).
bool holds(char16_t c) {
    return c < 0x80 || codes()[c] != 0;
}

} // namespace

QByteArray toCp936(QStringView text) {
    const Codes& codes = ::codes();
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    char* out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const std::uint16_t code = codes[c];
        if (c < 0x80 || (code != 0 && code < 0x100)) {
            *out++ = static_cast<char>(code);
        } else if (code != 0) {
            *out++ = static_cast<char>(code >> 8);
            *out++ = static_cast<char>(code & 0xFF);
        } else {
            // A character the code page lacks becomes "?", a surrogate pair one "?".
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            *out++ = '?';
        }
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}

bool appendCp936FromUtf8(std::string_view utf8, std::string& out) {
    const Codes& t = codes();
    bool whole = true;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        // Two- and three-byte sequences are the basic plane; anything else the code page lacks.
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t c = length == 3 ? lead & 0x0F : lead & 0x1F;
        for (int k = 1; k < length && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += static_cast<std::size_t>(length);
        const std::uint16_t code = length < 4 && c < 0x10000 ? t[c] : 0;
        if (code == 0) {
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

bool cp936Holds(char32_t code) {
    return code < 0x10000 && holds(static_cast<char16_t>(code));
}

bool cp936HoldsAll(QStringView text) {
    // A surrogate is not in the table, so a character beyond the basic plane fails here too.
    return std::all_of(text.begin(), text.end(), [](QChar c) { return holds(c.unicode()); });
}

QString withCp936Escapes(const QString& text, const std::function<QString(char32_t)>& escape) {
    const auto codeAt = [&text](qsizetype i) -> std::pair<char32_t, qsizetype> {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            return {QChar::surrogateToUcs4(text[i], text[i + 1]), 2};
        return {text[i].unicode(), 1};
    };
    qsizetype first = 0;
    while (first < text.size() && cp936Holds(codeAt(first).first))
        first += codeAt(first).second;
    if (first == text.size())
        return text;
    QString result = text.left(first);
    for (qsizetype i = first; i < text.size();) {
        const auto [code, length] = codeAt(i);
        if (cp936Holds(code))
            result += QStringView(text).mid(i, length);
        else
            result += escape(code);
        i += length;
    }
    return result;
}
