#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// The settings store's own error kind: a value of another type than text, or a failed write.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using StringValues = std::vector<std::pair<std::string, std::string>>;

// One open key of the settings store. On Windows it is a registry key under
// HKEY_LOCAL_MACHINE, opened for reading alone when the user may not write it; elsewhere a
// file of the same path under the store's root. Programs running at once see each other's
// writes whole: the values an open key reads are those of one moment, and the values of one
// write land together.
class SettingsKey {
public:
    virtual ~SettingsKey() = default;

    // A missing or empty value reads as the empty text; a value that is neither a string nor
    // an expandable string throws RegistryError.
    virtual std::string readString(const std::string& name) = 0;
    // Stores string values in one step; throws RegistryError when they cannot be written (the
    // file store then keeps the values stored before as they were). A key opened for reading
    // alone keeps its values and does not fail.
    virtual void writeStrings(const StringValues& values) = 0;
    void writeString(const std::string& name, const std::string& value) {
        writeStrings({{name, value}});
    }
};

// Opens the key (a path from the root such as "\SOFTWARE\QARVO\TOLMA\DBLinkInfo"), creating
// it when missing. Returns nothing when it can be neither opened nor created, for instance
// for lack of rights.
std::unique_ptr<SettingsKey> openSettingsKey(const std::string& keyPath);
