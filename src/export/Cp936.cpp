#include "Cp936.h"

#include "result/CodePage936.h"

#include <algorithm>

namespace {

// Whether the code page holds a character of the basic plane (NUL included).
bool holds(char16_t c) {
    return c < 0x80 || codePage936Codes()[c] != 0;
}

} // namespace

QByteArray toCp936(QStringView text) {
    const CodePage936Codes& codes = codePage936Codes();
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
