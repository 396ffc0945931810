#include "ExportPreferences.h"

#include "SettingsKey.h"

namespace {

constexpr const char* kExportKey = "\\SOFTWARE\\QARVO\\TOLMA\\Export";

} // namespace

ExportPreferences readExportPreferences() {
    ExportPreferences preferences;
    try {
        if (const auto key = openSettingsKey(kExportKey)) {
            preferences.folder = key->readString("folder");
            preferences.fileType = key->readString("filetype");
        }
    } catch (const RegistryError&) {
        return {};
    }
    return preferences;
}

void writeExportPreferences(const ExportPreferences& preferences) {
    try {
        if (const auto key = openSettingsKey(kExportKey)) {
            key->writeStrings({{"folder", preferences.folder}, {"filetype", preferences.fileType}});
        }
    } catch (const RegistryError&) {
    }
}
