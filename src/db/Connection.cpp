#include "Connection.h"

#include "ConnectionString.h"
#include "db/odbc/OdbcBackend.h"
#include "db/odbc/OdbcConnectionString.h"
#include "db/sqlite/SqliteBackend.h"
#include "result/DbError.h"

#include <string_view>

namespace {

constexpr std::string_view kSqlitePrefix = "sqlite:";

[[noreturn]] void rethrowWithoutPassword(const DbError& error, const ConnectionSettings& settings) {
    std::string text = error.what();
    if (!settings.password.empty())
        for (std::size_t at = text.find(settings.password); at != std::string::npos;
             at = text.find(settings.password, at + 3))
            text.replace(at, settings.password.size(), "***");
    throw DbError(text);
}

std::unique_ptr<DatabaseBackend> connectBackend(const ConnectionSettings& settings) {
    if (settings.server.starts_with(kSqlitePrefix))
        return std::make_unique<SqliteBackend>(settings.server.substr(kSqlitePrefix.size()));
    return std::make_unique<OdbcBackend>(sqlServerOdbcConnectionString(settings));
}

} // namespace

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

std::unique_ptr<DatabaseBackend> Connection::connect(const ConnectionSettings& settings) {
    try {
        return connectBackend(settings);
    } catch (const DbError& error) {
        rethrowWithoutPassword(error, settings);
    }
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
            rethrowWithoutPassword(error, settings_);
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
        rethrowWithoutPassword(error, settings_);
    }
}
