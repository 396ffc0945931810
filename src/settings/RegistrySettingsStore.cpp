// The settings store on Windows: string values under HKEY_LOCAL_MACHINE, in the 32-bit view
// of the registry, where the ERP's 32-bit programs keep the same key (WOW6432Node for a 64-bit
// program).
#include "SettingsKey.h"
#include "result/Utf16.h"

#include <windows.h>

namespace {

// Held by every program of ours while it reads or writes a key, so that a program reads the
// values of one moment and one write's values land together (the registry keeps single
// values whole, not groups of them).
class StoreLock {
public:
    StoreLock() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\stockquery-settings")) {
        if (mutex_)
            WaitForSingleObject(mutex_, INFINITE); // an abandoned mutex is ours as well
    }
    ~StoreLock() {
        if (mutex_) {
            ReleaseMutex(mutex_);
            CloseHandle(mutex_);
        }
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

private:
    HANDLE mutex_;
};

std::wstring wide(const std::string& utf8) {
    const std::u16string units = utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

class RegistrySettingsKey : public SettingsKey {
public:
    RegistrySettingsKey(HKEY key, bool writable) : key_(key), writable_(writable) {}
    ~RegistrySettingsKey() override { RegCloseKey(key_); }
    RegistrySettingsKey(const RegistrySettingsKey&) = delete;
    RegistrySettingsKey& operator=(const RegistrySettingsKey&) = delete;

    std::string readString(const std::string& name) override {
        if (!readLock_)
            readLock_ = std::make_unique<StoreLock>(); // until the key is closed
        const std::wstring valueName = wide(name);
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(key_, valueName.c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS)
            return {}; // a missing value reads as the empty text
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw RegistryError("value " + name + " is not a string");
        std::u16string data(bytes / sizeof(char16_t) + 1, u'\0');
        if (RegQueryValueExW(key_, valueName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &bytes) != ERROR_SUCCESS)
            throw RegistryError("cannot read value " + name);
        std::string out;
        appendUtf16AsUtf8(data.data(), data.find(u'\0'), out);
        return out;
    }

    void writeStrings(const StringValues& values) override {
        // Without the right to write, as without the right to open, nothing is written and
        // nothing fails.
        if (!writable_)
            return;
        const StoreLock lock;
        for (const auto& [name, value] : values) {
            const std::wstring text = wide(value);
            const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
            if (RegSetValueExW(key_, wide(name).c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(text.c_str()), bytes) != ERROR_SUCCESS)
                throw RegistryError("cannot write value " + name);
        }
    }

private:
    HKEY key_;
    bool writable_;
    std::unique_ptr<StoreLock> readLock_;
};

} // namespace

std::unique_ptr<SettingsKey> openSettingsKey(const std::string& keyPath) {
    const std::wstring path = wide(keyPath.starts_with('\\') ? keyPath.substr(1) : keyPath);
    constexpr REGSAM kView = KEY_WOW64_32KEY;
    HKEY key = nullptr;
    // A user without administrator rights may read the machine's key but not write it.
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE | kView, nullptr, &key, nullptr) == ERROR_SUCCESS)
        return std::make_unique<RegistrySettingsKey>(key, true);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | kView, &key) == ERROR_SUCCESS)
        return std::make_unique<RegistrySettingsKey>(key, false);
    return nullptr;
}
