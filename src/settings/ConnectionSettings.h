#pragma once

#include <optional>
#include <string>
#include <string_view>

// How the login is proven: a SQL Server login and its password, or the user's Windows login
// (on Windows the user's own; elsewhere a domain login "DOMAIN\user" with its password, or
// Kerberos with the user's ticket when no user is given).
enum class Authentication { sqlServer, windows };

// Whether the session is encrypted: optional (when the server asks for it), mandatory (or
// no connection), strict (TLS before anything else, TDS 8).
enum class Encryption { optional, mandatory, strict };

// The values that reach the database, as stored between runs.
struct ConnectionSettings {
    std::string server;
    std::string database;
    std::string user;
    std::string password;
    Authentication authentication = Authentication::sqlServer;
    Encryption encryption = Encryption::optional;
    // Encrypted without checking the certificate against an authority or the host name.
    bool trustServerCertificate = false;
    // The authority's certificate (PEM) that the server's is checked against; empty for the
    // system's store.
    std::string certificateAuthorityFile{};
    // The password is stored with the rest; without, it is asked for at each start.
    bool rememberPassword = true;

    bool operator==(const ConnectionSettings&) const = default;
};

// The words the stored values and the command use: "optional", "mandatory", "strict".
std::string_view encryptionWord(Encryption encryption);
std::optional<Encryption> encryptionFromWord(std::string_view word);

// Whether the settings name a login to try: a user, or the user's Windows login.
bool namesALogin(const ConnectionSettings& settings);
// Whether the login takes a user name: not the user's own Windows login on Windows.
bool loginTakesUserName(const ConnectionSettings& settings);
// Whether the login takes a password: not the user's own Windows login (on Windows, or with
// a Kerberos ticket elsewhere).
bool loginTakesPassword(const ConnectionSettings& settings);
