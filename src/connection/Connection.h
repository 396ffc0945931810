#pragma once

#include "ConnectionSettings.h"
#include "DatabaseBackend.h"
#include "DbError.h"

#include <memory>
#include <span>
#include <string>

// The program's one database connection. A server value "sqlite:<path>" opens that SQLite
// file read-only; any other server is SQL Server, reached through ODBC.
class Connection {
public:
    Connection();
    ~Connection();

    void setSettings(ConnectionSettings settings);
    const ConnectionSettings& settings() const { return settings_; }
    std::string connectionString() const;

    // Throws DbError on failure; the connection is then closed. The error text never holds
    // the password.
    void open();
    void close();
    bool isOpen() const { return backend_ != nullptr; }

    // Throws DbError when closed or when the backend fails.
    ResultSet fetchAll(const std::string& commandText, std::span<const FieldDecl> declared);

private:
    std::unique_ptr<DatabaseBackend> connectBackend() const;
    [[noreturn]] void rethrowWithoutPassword(const DbError& error) const;

    ConnectionSettings settings_;
    std::unique_ptr<DatabaseBackend> backend_;
};
