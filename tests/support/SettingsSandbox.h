#pragma once

#include "TempDir.h"
#include "settings/DBLinkInfo.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#ifdef _WIN32
#include "result/Utf16.h"
#include "settings/RegFile.h"

#include <windows.h>
#endif

// A settings store of its own for one test, holding what the test stores in it; the store
// before it comes back afterwards. On Windows the store is the machine's registry (Wine's, in
// the test prefix): the stored connection is kept aside and put back afterwards, the export
// preferences and layouts start empty.
class SettingsSandbox {
public:
#ifdef _WIN32
    SettingsSandbox() {
        readDBLinkInfo(kept_);
        removeKey();
    }
    ~SettingsSandbox() {
        removeKey();
        if (kept_ != ConnectionSettings{})
            writeDBLinkInfo(kept_);
    }
#else
    SettingsSandbox() {
        if (const char* before = std::getenv("STOCKQUERY_SETTINGS_ROOT"))
            before_ = before;
        setenv("STOCKQUERY_SETTINGS_ROOT", root_.path().c_str(), 1);
    }
    ~SettingsSandbox() {
        if (before_)
            setenv("STOCKQUERY_SETTINGS_ROOT", before_->c_str(), 1);
        else
            unsetenv("STOCKQUERY_SETTINGS_ROOT");
    }
#endif
    SettingsSandbox(const SettingsSandbox&) = delete;
    SettingsSandbox& operator=(const SettingsSandbox&) = delete;

    void store(const ConnectionSettings& values) const {
        writeDBLinkInfo(values);
    }
    ConnectionSettings stored() const {
        ConnectionSettings values;
        readDBLinkInfo(values);
        return values;
    }

    // Replaces the key's values with raw lines of a .reg file: "name"="text" and
    // "name"=dword:0000000N.
    void storeRaw(const std::string& lines) const {
        const std::string text =
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QARVO\\TOLMA\\DBLinkInfo]\n" + lines;
#ifdef _WIN32
        removeKey();
        for (const RegValue& value : parseRegFile(text)) {
            const std::u16string name = utf8ToUtf16(value.name);
            if (value.type == RegValue::Type::String) {
                const std::u16string string = utf8ToUtf16(value.text);
                setValue(name, REG_SZ, string.c_str(), (string.size() + 1) * sizeof(char16_t));
            } else { // dword:0000000N
                const DWORD number = std::stoul(value.text.substr(6), nullptr, 16);
                setValue(name, REG_DWORD, &number, sizeof number);
            }
        }
#else
        const auto keyFile = root_ / "SOFTWARE/QARVO/TOLMA/DBLinkInfo.reg";
        std::filesystem::create_directories(keyFile.parent_path());
        std::ofstream(keyFile) << text;
#endif
    }

private:
#ifdef _WIN32
    static constexpr const wchar_t* kKey = L"SOFTWARE\\QARVO\\TOLMA\\DBLinkInfo";

    // In the 32-bit view, where the program keeps its connection; the export dialog's last
    // folder and file type go with it.
    static void removeKey() {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_32KEY, 0);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\QARVO\\TOLMA\\Export", KEY_WOW64_32KEY, 0);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\QARVO\\TOLMA\\Layout", KEY_WOW64_32KEY, 0);
    }
    static void setValue(const std::u16string& name, DWORD type, const void* data,
                         std::size_t size) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExW(key, reinterpret_cast<const wchar_t*>(name.c_str()), 0, type,
                       static_cast<const BYTE*>(data), static_cast<DWORD>(size));
        RegCloseKey(key);
    }

    ConnectionSettings kept_;
#else
    TempDir root_;
    std::optional<std::string> before_; // the store the test ran with before
#endif
};
