#include "Cp936.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <memory>

namespace {

// Code page 936 of every character of the basic plane, made once from ICU's "windows-936"
// converter (the one Qt's encoder of that name wraps where Qt has ICU; Qt on Windows has no
// such encoder): the bytes it writes (one byte for ASCII and 0x80 for the euro sign, two bytes
// from 0x8140 up, 0 where it has no mapping), and whether they read back as the same
// character. Nothing beyond the basic plane is in the code page.
struct Tables {
    std::array<std::uint16_t, 0x10000> codes{};
    std::bitset<0x10000> exact;
};

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

const Tables& tables() {
    static const std::unique_ptr<Tables> made = [] {
        auto t = std::make_unique<Tables>();
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
            const auto byte = [&bytes](int i) { return static_cast<unsigned char>(bytes[i]); };
            if (U_FAILURE(one))
                continue;
            if (size == 1)
                t->codes[c] = byte(0);
            else if (size == 2)
                t->codes[c] = static_cast<std::uint16_t>(byte(0) << 8 | byte(1));
            UChar back[4];
            const int32_t backSize = ucnv_toUChars(converter.get(), back, 4, bytes, size, &one);
            t->exact[c] = t->codes[c] != 0 && U_SUCCESS(one) && backSize == 1 && back[0] == unit;
        }
        for (char32_t c = 0; c < 0x80; ++c) {
            t->codes[c] = static_cast<std::uint16_t>(c);
            t->exact[c] = true;
        }
        return t;
    }();
    return *made;
}

} // namespace

QByteArray toCp936(QStringView text) {
    const auto& codes = tables().codes;
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
    const auto& t = tables();
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
        const std::uint16_t code = length < 4 && c < 0x10000 && t.exact[c] ? t.codes[c] : 0;
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
    return code < 0x10000 && tables().exact[code];
}

bool cp936HoldsAll(QStringView text) {
    const auto& exact = tables().exact;
    // A surrogate is not in the table, so a character beyond the basic plane fails here too.
    return std::all_of(text.begin(), text.end(), [&exact](QChar c) { return exact[c.unicode()]; });
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
