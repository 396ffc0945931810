#pragma once

#include <memory>
#include <stdexcept>
#include <string>

// The settings store's own error kind: a value of another type than text, or a failed write.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One open key of the settings store. On Windows it is a registry key under
// HKEY_LOCAL_MACHINE, opened for reading alone when the user may not write it; elsewhere a
// file of the same path under the store's root.
class SettingsKey {
public:
    virtual ~SettingsKey() = default;

    // A missing or empty value reads as the empty text; a value that is neither a string nor
    // an expandable string throws RegistryError.
    virtual std::string readString(const std::string& name) = 0;
    // Stores a string value; throws RegistryError when it cannot be written. A key opened for
    // reading alone keeps its values and does not fail.
    virtual void writeString(const std::string& name, const std::string& value) = 0;
};

// Opens the key (a path from the root such as "\SOFTWARE\QARVO\TOLMA\DBLinkInfo"), creating
// it when missing. Returns nothing when it can be neither opened nor created, for instance
// for lack of rights.
std::unique_ptr<SettingsKey> openSettingsKey(const std::string& keyPath);
