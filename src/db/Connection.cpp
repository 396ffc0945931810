#include "Connection.h"

#include "ConnectionString.h"
#include "db/odbc/OdbcBackend.h"
#include "db/odbc/OdbcConnectionString.h"
#include "db/sqlite/SqliteBackend.h"
#include "result/DbError.h"

#include <string_view>

namespace {
constexpr std::string_view kSqlitePrefix = "sqlite:";
}

Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::setSettings(ConnectionSettings settings) {
    settings_ = std::move(settings);
}

std::string Connection::connectionString() const {
    return BuildConnectionString(settings_);
}

std::unique_ptr<DatabaseBackend> Connection::connectBackend() const {
    if (settings_.server.starts_with(kSqlitePrefix))
        return std::make_unique<SqliteBackend>(settings_.server.substr(kSqlitePrefix.size()));
    return std::make_unique<OdbcBackend>(sqlServerOdbcConnectionString(settings_));
}

void Connection::open() {
    close();
    try {
        backend_ = connectBackend();
    } catch (const DbError& error) {
        rethrowWithoutPassword(error);
    }
    open_ = true;
}

void Connection::close() {
    backend_.reset();
    open_ = false;
}

ResultSet Connection::fetchAll(const std::string& commandText,
                               std::span<const FieldDecl> declared) {
    if (!open_)
        throw DbError("the connection is closed");
    try {
        if (backend_)
            return backend_->fetchAll(commandText, declared);
    } catch (const DbError& error) {
        if (!error.connectionLost())
            rethrowWithoutPassword(error);
    }
    // The session is gone: one new connection, one more run.
    backend_.reset();
    try {
        backend_ = connectBackend();
        return backend_->fetchAll(commandText, declared);
    } catch (const DbError& error) {
        if (error.connectionLost())
            backend_.reset();
        rethrowWithoutPassword(error);
    }
}

void Connection::rethrowWithoutPassword(const DbError& error) const {
    std::string text = error.what();
    if (!settings_.password.empty())
        for (std::size_t at = text.find(settings_.password); at != std::string::npos;
             at = text.find(settings_.password, at + 3))
            text.replace(at, settings_.password.size(), "***");
    throw DbError(text);
}
