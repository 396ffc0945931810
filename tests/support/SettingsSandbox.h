#pragma once

#include "TempDir.h"
#include "settings/DBLinkInfo.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

// A settings store of its own for one test, holding what the test stores in it.
class SettingsSandbox {
public:
    SettingsSandbox() { setenv("STOCKQUERY_SETTINGS_ROOT", root_.path().c_str(), 1); }
    ~SettingsSandbox() { unsetenv("STOCKQUERY_SETTINGS_ROOT"); }

    void store(const ConnectionSettings& values) const { writeDBLinkInfo(values); }
    ConnectionSettings stored() const {
        ConnectionSettings values;
        readDBLinkInfo(values);
        return values;
    }
    std::filesystem::path keyFile() const { return root_ / "SOFTWARE/QARVO/TOLMA/DBLinkInfo.reg"; }
    // Replaces the key's values with raw lines of the file store.
    void storeRaw(const std::string& lines) const {
        std::filesystem::create_directories(keyFile().parent_path());
        std::ofstream(keyFile()) << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QARVO\\TOLMA\\DBLinkInfo]\n"
                                 << lines;
    }

private:
    TempDir root_;
};
