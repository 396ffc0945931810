#include "AgeingPreferences.h"

#include "SettingsKey.h"

namespace {

constexpr const char* kAgeingKey = "\\SOFTWARE\\QARVO\\TOLMA\\Ageing";

} // namespace

std::string readAgeingBands() {
    try {
        if (const auto key = openSettingsKey(kAgeingKey))
            return key->readString("bands");
    } catch (const RegistryError&) {
    }
    return {};
}

void writeAgeingBands(const std::string& bands) {
    try {
        if (const auto key = openSettingsKey(kAgeingKey))
            key->writeString("bands", bands);
    } catch (const RegistryError&) {
    }
}
