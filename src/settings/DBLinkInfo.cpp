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

// The values stored beside the four, each read as today's behaviour when absent; an
// encryption word not known asks for more, never for less.
void readSecuritySettings(SettingsKey& key, ConnectionSettings& target) {
    target.authentication = key.readString("dbauthentication") == "windows"
                                ? Authentication::windows
                                : Authentication::sqlServer;
    const std::string encrypt = key.readString("dbencrypt");
    target.encryption = encrypt.empty()
                            ? Encryption::optional
                            : encryptionFromWord(encrypt).value_or(Encryption::mandatory);
    target.trustServerCertificate = key.readString("dbtrustservercertificate") == "1";
    target.certificateAuthorityFile = key.readString("dbcafile");
    target.rememberPassword = key.readString("dbrememberpassword") != "0";
}

bool readInOrder(ConnectionSettings& target, std::initializer_list<Field> order) {
    const auto key = openSettingsKey(kDBLinkInfoKey);
    if (!key)
        return true;
    try {
        for (const auto& [name, member] : order)
            target.*member = key->readString(name);
        readSecuritySettings(*key, target);
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
        StringValues stored;
        for (const auto& [name, member] : {kServer, kDatabase, kUser})
            stored.emplace_back(name, values.*member);
        stored.emplace_back(kPassword.first, values.rememberPassword ? values.password : "");
        stored.emplace_back("dbauthentication",
                            values.authentication == Authentication::windows ? "windows" : "sql");
        stored.emplace_back("dbencrypt", encryptionWord(values.encryption));
        stored.emplace_back("dbtrustservercertificate", values.trustServerCertificate ? "1" : "0");
        stored.emplace_back("dbcafile", values.certificateAuthorityFile);
        stored.emplace_back("dbrememberpassword", values.rememberPassword ? "1" : "0");
        key->writeStrings(stored); // one connection, never half of one beside another's half
    } catch (const RegistryError&) {
        return false;
    }
    return true;
}
