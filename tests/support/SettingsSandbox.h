#pragma once

#include "TempDir.h"
#include "settings/DBLinkInfo.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

// A settings store of its own for one test, holding what the test stores in it. On Windows
// the store is the machine's registry (Wine's, in the test prefix): the stored connection is
// kept aside and put back afterwards.
class SettingsSandbox {
public:
#ifdef _WIN32
    SettingsSandbox() {
        keepAside();
        removeKey();
    }
    ~SettingsSandbox() {
        removeKey();
        putBack();
    }
#else
    SettingsSandbox() {
        setenv("STOCKQUERY_SETTINGS_ROOT", root_.path().c_str(), 1);
    }
    ~SettingsSandbox() {
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
#ifdef _WIN32
        removeKey();
        std::istringstream in(lines);
        for (std::string line; std::getline(in, line);) {
            const auto equals = line.find("\"=");
            const std::wstring name = wide(line.substr(1, equals - 1));
            const std::string value = line.substr(equals + 2);
            if (value.starts_with("dword:")) {
                const DWORD number = std::stoul(value.substr(6), nullptr, 16);
                setValue({name, REG_DWORD, bytesOf(&number, sizeof number)});
            } else {
                const std::wstring text = wide(value.substr(1, value.size() - 2));
                setValue({name, REG_SZ, bytesOf(text.c_str(), (text.size() + 1) * 2)});
            }
        }
#else
        const auto keyFile = root_ / "SOFTWARE/QARVO/TOLMA/DBLinkInfo.reg";
        std::filesystem::create_directories(keyFile.parent_path());
        std::ofstream(keyFile) << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QARVO\\TOLMA\\DBLinkInfo]\n"
                               << lines;
#endif
    }

private:
#ifdef _WIN32
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    static constexpr const wchar_t* kKey = L"SOFTWARE\\QARVO\\TOLMA\\DBLinkInfo";
    // The 32-bit view, where the program keeps its connection.
    static constexpr REGSAM kView = KEY_WOW64_32KEY;

    static std::wstring wide(const std::string& utf8) {
        std::wstring text(utf8.size(), L'\0');
        text.resize(static_cast<std::size_t>(
            MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                                static_cast<int>(text.size()))));
        return text;
    }
    static std::vector<BYTE> bytesOf(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const BYTE*>(data);
        return {bytes, bytes + size};
    }
    static void removeKey() {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKey, kView, 0);
    }
    static void setValue(const Value& value) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE | kView, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
        RegCloseKey(key);
    }
    void keepAside() {
        HKEY key = nullptr;
        existed_ =
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ | kView, &key) == ERROR_SUCCESS;
        if (!existed_)
            return;
        for (DWORD index = 0;; ++index) {
            wchar_t name[256];
            DWORD nameLength = 256, type = 0, size = 0;
            if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS)
                break;
            Value value{std::wstring(name, nameLength), type, std::vector<BYTE>(size)};
            RegQueryValueExW(key, value.name.c_str(), nullptr, nullptr, value.data.data(), &size);
            kept_.push_back(std::move(value));
        }
        RegCloseKey(key);
    }
    void putBack() const {
        if (!existed_)
            return;
        for (const Value& value : kept_)
            setValue(value);
        if (kept_.empty()) { // an empty key stays an empty key
            HKEY key = nullptr;
            RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE | kView, nullptr,
                            &key, nullptr);
            RegCloseKey(key);
        }
    }

    bool existed_ = false;
    std::vector<Value> kept_;
#else
    TempDir root_;
#endif
};
