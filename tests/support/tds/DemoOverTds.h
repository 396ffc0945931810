#pragma once

#include "db/Connection.h"
#include "support/DemoDatabasePath.h"
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsServer.h"

// How a reader logs in to the test TDS server (a password with the characters a connection
// string must quote).
inline ConnectionSettings settingsFor(const TdsServer& server) {
    return {server.address(), "erp_2026", "reader", "只读;pw"};
}

// The demo database behind the test TDS server, and a connection open to it through unixODBC
// and FreeTDS.
struct DemoOverTds {
    DemoOverTds() {
        connection.setSettings(settingsFor(server));
        connection.open();
    }
    TdsServer server{ErpTdsResponder(demoDatabasePath())};
    Connection connection;
};
