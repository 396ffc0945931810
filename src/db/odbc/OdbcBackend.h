#pragma once

#include "OdbcHandle.h"
#include "OdbcResultReader.h"
#include "db/DatabaseBackend.h"

#include <memory>
#include <string>

// A database reached through the ODBC driver manager: SQL Server through FreeTDS or the
// system's driver, or any other driver a connection string names.
class OdbcBackend : public DatabaseBackend {
public:
    // SQL Server clients commonly wait 15 seconds for a log-in.
    static constexpr int kLoginTimeoutSeconds = 15;

    // Connects read-only and without any prompt; throws ConnectError when that fails.
    explicit OdbcBackend(const std::string& connectionString,
                         int loginTimeoutSeconds = kLoginTimeoutSeconds);

    SessionInfo sessionInfo() const override;
    void fetchInto(const std::string& commandText, std::span<const FieldDecl> declared,
                   WorkControl& control, RowArrival& into) override;

    // How the last result was read, for tests and benchmarks.
    const OdbcFetchCounts& lastFetchCounts() const { return lastFetchCounts_; }

private:
    bool connectionDead() const;
    std::string info(SQLUSMALLINT type) const;

    std::unique_ptr<OdbcHandle> environment_;
    std::unique_ptr<OdbcHandle> connection_;
    OdbcFetchCounts lastFetchCounts_;
    std::string driverName_; // as the connection string names it
};
