// Texts in code page 936 both ways, as the exports write them: from UTF-16 (a grid's text,
// lone surrogates included) and from UTF-8 (a statement's literal, invalid bytes included).
// What the code page holds reads back as the same text through the platform's decoder, and
// only what it cannot hold becomes "?".
#include "export/Cp936.h"
#include "result/CodePage936.h"

#include <QString>
#include <unicode/ucnv.h>

#include <cstdlib>
#include <memory>

namespace {

// The text that Windows' code page 936 decoder reads from `bytes`.
std::u16string decoded(const std::string& bytes) {
    UErrorCode status = U_ZERO_ERROR;
    static UConverter* const converter = ucnv_open("windows-936", &status);
    std::u16string text(bytes.size() * 2 + 1, u'\0');
    status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter, text.data(), static_cast<int32_t>(text.size()),
                                         bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        std::abort();
    text.resize(static_cast<std::size_t>(length));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const QString text(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    const QByteArray bytes = toCp936(text);
    const std::string written(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::u16string back = decoded(written);
    if (cp936HoldsAll(text) != (back == text.toStdU16String()))
        std::abort(); // held and read back otherwise, or not held and read back all the same
    if (!cp936HoldsAll(withCp936Escapes(text, [](char32_t) { return QStringLiteral("&"); })))
        std::abort();

    const std::string_view utf8(reinterpret_cast<const char*>(data), size);
    std::string out;
    const bool all = appendCp936FromUtf8(utf8, out);
    if (all != fitsCodePage936(utf8))
        std::abort();
    if (all && decoded(out) !=
                   QString::fromUtf8(utf8.data(), static_cast<qsizetype>(size)).toStdU16String())
        std::abort();
    return 0;
}
