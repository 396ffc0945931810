#include "Connection.h"

#include "ConnectionString.h"
#include "db/odbc/OdbcBackend.h"
#include "db/odbc/OdbcConnectionString.h"
#include "db/sqlite/SqliteBackend.h"
#include "result/DbError.h"

#include <string_view>

namespace {

constexpr std::string_view kSqlitePrefix = "sqlite:";

std::unique_ptr<DatabaseBackend> connectBackend(const ConnectionSettings& settings) {
    if (const auto file = Connection::sqliteFileOf(settings.server))
        return std::make_unique<SqliteBackend>(*file);
    return std::make_unique<OdbcBackend>(sqlServerOdbcConnectionString(settings));
}

} // namespace

std::optional<std::string> Connection::sqliteFileOf(const std::string& server) {
    if (!server.starts_with(kSqlitePrefix))
        return std::nullopt;
    return server.substr(kSqlitePrefix.size());
}

Connection::Connection() = default;

Connection::~Connection() {
    const std::lock_guard lock(running_);
    backend_.reset();
}

void Connection::setSettings(ConnectionSettings settings) {
    settings_ = std::move(settings);
}

std::string Connection::connectionString() const {
    return BuildConnectionString(settings_);
}

// No message is made with the password: the connection string, which holds it, is never part
// of one, so drivers' messages pass as they are.
std::unique_ptr<DatabaseBackend> Connection::connect(const ConnectionSettings& settings) {
    return connectBackend(settings);
}

void Connection::open() {
    close();
    adopt(connect(settings_));
}

void Connection::adopt(std::unique_ptr<DatabaseBackend> session) {
    const std::lock_guard lock(running_);
    backend_ = std::move(session);
    open_ = true;
}

void Connection::close() {
    const std::lock_guard lock(running_);
    backend_.reset();
    open_ = false;
}

ResultSet Connection::fetchAll(const std::string& commandText,
                               std::span<const FieldDecl> declared) {
    WorkControl unwatched;
    return fetchAll(commandText, declared, unwatched);
}

ResultSet Connection::fetchAll(const std::string& commandText, std::span<const FieldDecl> declared,
                               WorkControl& control) {
    const std::lock_guard lock(running_);
    if (!open_)
        throw DbError("the connection is closed");
    try {
        if (backend_)
            return backend_->fetchAll(commandText, declared, control);
    } catch (const DbError& error) {
        if (!error.connectionLost())
            throw;
    }
    // The session is gone: one new connection, one more run.
    backend_.reset();
    try {
        control.throwIfCancelled();
        backend_ = connectBackend(settings_);
        return backend_->fetchAll(commandText, declared, control);
    } catch (const DbError& error) {
        if (error.connectionLost())
            backend_.reset();
        throw;
    }
}
