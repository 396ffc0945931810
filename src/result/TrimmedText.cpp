#include "TrimmedText.h"

namespace {
bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
} // namespace

std::string trimmedText(std::string_view text) {
    while (!text.empty() && isBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrControl(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}
