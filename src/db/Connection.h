#pragma once

#include "ConnectError.h"
#include "DatabaseBackend.h"
#include "SessionTurns.h"
#include "WorkControl.h"
#include "result/DbError.h"
#include "settings/ConnectionSettings.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The program's one database connection. A server value "sqlite:<path>" opens that SQLite
// file read-only; any other server is SQL Server, reached through ODBC.
//
// One statement runs on it at a time: a statement run on a worker thread holds it until the
// run has ended, and opening, closing or destroying the connection waits for that. A statement
// still running a second after its cancel is left to end alone (see SessionTurns).
class Connection {
public:
    Connection();
    ~Connection();

    void setSettings(ConnectionSettings settings);
    const ConnectionSettings& settings() const { return settings_; }
    std::string connectionString() const;

    // Throws DbError (ConnectError when the driver refused) on failure; the connection is
    // then closed. The error text never holds the password.
    void open();
    void close();
    // Open since the last successful open(), also while the server is out of reach.
    bool isOpen() const { return open_; }

    // A new session with the database that `settings` name, made without touching any
    // connection, so that it may run on any thread; throws DbError without the password.
    static std::unique_ptr<DatabaseBackend> connect(const ConnectionSettings& settings);
    // The databases that the login of `settings` may open, by name, read on a session of its
    // own with the server's master database; none for SQLite. Throws DbError.
    static std::vector<std::string> listDatabases(const ConnectionSettings& settings);
    // What the last session made was connected to and through what; empty before one.
    const SessionInfo& sessionInfo() const { return sessionInfo_; }
    // Removes the files made for the drivers, for an end of the program that skips
    // destructors (they go with a normal end too).
    static void removeDriverFiles();
    // The SQLite file that a server value names; none for SQL Server.
    static std::optional<std::string> sqliteFileOf(const std::string& server);
    // Takes a session made by connect() with the current settings; the connection is open.
    void adopt(std::unique_ptr<DatabaseBackend> session);

    // How long a log-in to SQL Server may take (15 s unless set).
    void setLoginTimeout(int seconds) { loginTimeoutSeconds_ = seconds; }
    // How long to keep trying when a lost session cannot be made again at once (a restarting
    // server refuses connections for a while): attempts with growing waits between them, for
    // about that long in all. None unless set: one attempt.
    void setReconnectPatience(std::chrono::milliseconds patience) { patience_ = patience; }

    // Throws DbError when closed or when the backend fails, WorkCancelled when `control`
    // stopped it. When the session with the server turns out to be gone (the server
    // restarted, the network dropped), the connection is made again with the same settings
    // and the statement runs once more (ServerUnreachable when no connection could be had, or
    // when the new one is lost too and no third can be had; a plain DbError when a third can:
    // the server is there and its answers to the statement cannot be read);
    // a statement that the server refused is never run again, nor one that was cancelled.
    // Rows are published into `into` as they are read; a run again begins another result.
    void fetchInto(const std::string& commandText, std::span<const FieldDecl> declared,
                   WorkControl& control, RowArrival& into);
    // The same into a result of its own.
    ResultSet fetchAll(const std::string& commandText, std::span<const FieldDecl> declared,
                       WorkControl& control);
    ResultSet fetchAll(const std::string& commandText, std::span<const FieldDecl> declared);

private:
    // A new session after the old one was lost, within the patience; ServerUnreachable when
    // none could be made.
    std::unique_ptr<DatabaseBackend> reconnect(const WorkControl& control) const;

    ConnectionSettings settings_;
    int loginTimeoutSeconds_;
    std::chrono::milliseconds patience_{0};
    std::atomic<bool> open_ = false;
    SessionInfo sessionInfo_;
    SessionTurns turns_; // the session: none while the server is out of reach
};
