#pragma once

#include "DatabaseBackend.h"
#include "result/DbError.h"
#include "settings/ConnectionSettings.h"

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
    // Open since the last successful open(), also while the server is out of reach.
    bool isOpen() const { return open_; }

    // Throws DbError when closed or when the backend fails. When the session with the server
    // turns out to be gone (the server restarted, the network dropped), the connection is made
    // again with the same settings and the statement runs once more; a statement that the
    // server refused is never run again.
    ResultSet fetchAll(const std::string& commandText, std::span<const FieldDecl> declared);

private:
    std::unique_ptr<DatabaseBackend> connectBackend() const;
    [[noreturn]] void rethrowWithoutPassword(const DbError& error) const;

    ConnectionSettings settings_;
    bool open_ = false;
    std::unique_ptr<DatabaseBackend> backend_; // null while the server is out of reach
};
