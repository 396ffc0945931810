#pragma once

#include <string>

// The four values that reach the database, as stored between runs.
struct ConnectionSettings {
    std::string server;
    std::string database;
    std::string user;
    std::string password;

    bool operator==(const ConnectionSettings&) const = default;
};
