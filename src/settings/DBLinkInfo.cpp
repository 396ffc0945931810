#include "DBLinkInfo.h"

#include "SettingsKey.h"

#include <initializer_list>
#include <utility>

namespace {

using Field = std::pair<const char*, std::string ConnectionSettings::*>;

constexpr Field kServer{"dbserver", &ConnectionSettings::server};
constexpr Field kDatabase{"dbdatabase", &ConnectionSettings::database};
constexpr Field kUser{"dbuser", &ConnectionSettings::user};
constexpr Field kPassword{"dbpassword", &ConnectionSettings::password};

bool readInOrder(ConnectionSettings& target, std::initializer_list<Field> order) {
    const auto key = openSettingsKey(kDBLinkInfoKey);
    if (!key)
        return true;
    try {
        for (const auto& [name, member] : order)
            target.*member = key->readString(name);
    } catch (const RegistryError&) {
        return false;
    }
    return true;
}

} // namespace

bool loadDBLinkInfo(ConnectionSettings& target) {
    return readInOrder(target, {kUser, kDatabase, kServer, kPassword});
}

bool readDBLinkInfo(ConnectionSettings& target) {
    return readInOrder(target, {kServer, kDatabase, kUser, kPassword});
}

bool writeDBLinkInfo(const ConnectionSettings& values) {
    const auto key = openSettingsKey(kDBLinkInfoKey);
    if (!key)
        return true;
    try {
        for (const auto& [name, member] : {kServer, kDatabase, kUser, kPassword})
            key->writeString(name, values.*member);
    } catch (const RegistryError&) {
        return false;
    }
    return true;
}
