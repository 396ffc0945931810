#include "CodePage936.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

#include <memory>
#include <vector>

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

} // namespace

bool fitsCodePage936(std::string_view utf8) {
    bool ascii = true;
    for (char c : utf8)
        ascii &= static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return true;

    UErrorCode status = U_ZERO_ERROR;
    std::vector<UChar> units(utf8.size() + 1);
    int32_t length = 0;
    u_strFromUTF8(units.data(), static_cast<int32_t>(units.size()), &length, utf8.data(),
                  static_cast<int32_t>(utf8.size()), &status);
    if (U_FAILURE(status))
        return false;
    std::unique_ptr<UConverter, ConverterCloser> gbk(ucnv_open("windows-936", &status));
    // Stop at the first character the code page lacks instead of substituting it.
    ucnv_setFromUCallBack(gbk.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    std::vector<char> bytes(static_cast<std::size_t>(length) * 4 + 4);
    ucnv_fromUChars(gbk.get(), bytes.data(), static_cast<int32_t>(bytes.size()), units.data(),
                    length, &status);
    return U_SUCCESS(status);
}
