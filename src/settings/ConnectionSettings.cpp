#include "ConnectionSettings.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<Encryption, std::string_view>, 3> kEncryptionWords{{
    {Encryption::optional, "optional"},
    {Encryption::mandatory, "mandatory"},
    {Encryption::strict, "strict"},
}};

} // namespace

std::string_view encryptionWord(Encryption encryption) {
    for (const auto& [value, word] : kEncryptionWords)
        if (value == encryption)
            return word;
    return {};
}

std::optional<Encryption> encryptionFromWord(std::string_view word) {
    for (const auto& [value, known] : kEncryptionWords)
        if (known == word)
            return value;
    return std::nullopt;
}

bool namesALogin(const ConnectionSettings& settings) {
    return !settings.user.empty() || settings.authentication == Authentication::windows;
}

bool loginTakesUserName(const ConnectionSettings& settings) {
#ifdef _WIN32
    return settings.authentication == Authentication::sqlServer;
#else
    (void)settings;
    return true;
#endif
}

bool loginTakesPassword(const ConnectionSettings& settings) {
#ifdef _WIN32
    return settings.authentication == Authentication::sqlServer;
#else
    return settings.authentication == Authentication::sqlServer || !settings.user.empty();
#endif
}
