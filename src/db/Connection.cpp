#include "Connection.h"

#include "ConnectionString.h"
#include "db/odbc/EncryptionProbe.h"
#ifndef _WIN32
#include "db/odbc/FreeTdsConfig.h"
#endif
#include "db/odbc/OdbcBackend.h"
#include "db/odbc/OdbcConnectionString.h"
#include "db/sqlite/SqliteBackend.h"
#include "result/DbError.h"

#include <string_view>
#include <thread>

namespace {

constexpr std::string_view kSqlitePrefix = "sqlite:";

std::unique_ptr<DatabaseBackend> connectBackend(const ConnectionSettings& settings,
                                                int loginTimeoutSeconds) {
    if (const auto file = Connection::sqliteFileOf(settings.server))
        return std::make_unique<SqliteBackend>(*file);
    checkCertificateAuthorityFile(settings);
    try {
        return std::make_unique<OdbcBackend>(sqlServerOdbcConnectionString(settings),
                                             loginTimeoutSeconds);
    } catch (const ConnectError& error) {
        if (error.failure() != ConnectFailure::encryptionFailed)
            throw;
        // The driver only says that the start failed: a login by ticket fails so before
        // anything is sent, and so does an encrypted start, which is looked at again.
        const ConnectFailure cause = !loginTakesPassword(settings) ? ConnectFailure::kerberosFailed
                                     : settings.encryption == Encryption::optional
                                         ? ConnectFailure::other
                                         : probeEncryption(settings, loginTimeoutSeconds);
        throw ConnectError(cause, connectFailureReason(cause), error.what());
    }
}

// Waits `wait`, looking for a stop every tenth of a second.
void waitUnlessCancelled(std::chrono::milliseconds wait, const WorkControl& control) {
    using namespace std::chrono_literals;
    for (auto left = wait; left > 0ms; left -= 100ms) {
        control.throwIfCancelled();
        std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(left, 100ms));
    }
    control.throwIfCancelled();
}

} // namespace

void Connection::removeDriverFiles() {
#ifndef _WIN32
    removeFreeTdsConfig();
#endif
}

std::optional<std::string> Connection::sqliteFileOf(const std::string& server) {
    if (!server.starts_with(kSqlitePrefix))
        return std::nullopt;
    return server.substr(kSqlitePrefix.size());
}

Connection::Connection() : loginTimeoutSeconds_(OdbcBackend::kLoginTimeoutSeconds) {}

Connection::~Connection() = default;

void Connection::setSettings(ConnectionSettings settings) {
    settings_ = std::move(settings);
}

std::string Connection::connectionString() const {
    return BuildConnectionString(settings_);
}

// No message is made with the password: the connection string, which holds it, is never part
// of one, so drivers' messages pass as they are.
std::unique_ptr<DatabaseBackend> Connection::connect(const ConnectionSettings& settings) {
    return connectBackend(settings, OdbcBackend::kLoginTimeoutSeconds);
}

std::vector<std::string> Connection::listDatabases(const ConnectionSettings& settings) {
    if (sqliteFileOf(settings.server))
        return {};
    ConnectionSettings master = settings;
    master.database = "master";
    const FieldDecl name[] = {{"name", FieldKind::Text}};
    const ResultSet names = connect(master)->fetchAll(
        "SELECT name FROM sys.databases WHERE HAS_DBACCESS(name) = 1 ORDER BY name", name);
    std::vector<std::string> list;
    for (std::size_t row = 0; row < names.rowCount(); ++row)
        list.emplace_back(names.column(0).text(row));
    return list;
}

void Connection::open() {
    close();
    adopt(connectBackend(settings_, loginTimeoutSeconds_));
}

void Connection::adopt(std::unique_ptr<DatabaseBackend> session) {
    SessionInfo info = session->sessionInfo();
    turns_.change([&](SessionTurns::Session& current) {
        sessionInfo_ = std::move(info);
        current = std::move(session);
        open_ = true;
    });
}

void Connection::close() {
    turns_.change([&](SessionTurns::Session& current) {
        current.reset();
        open_ = false;
    });
}

ResultSet Connection::fetchAll(const std::string& commandText,
                               std::span<const FieldDecl> declared) {
    WorkControl unwatched;
    return fetchAll(commandText, declared, unwatched);
}

ResultSet Connection::fetchAll(const std::string& commandText, std::span<const FieldDecl> declared,
                               WorkControl& control) {
    return RowArrival::whole(
        [&](RowArrival& into) { fetchInto(commandText, declared, control, into); });
}

void Connection::fetchInto(const std::string& commandText, std::span<const FieldDecl> declared,
                           WorkControl& control, RowArrival& into) {
    SessionTurns::Turn turn = turns_.take(control);
    SessionTurns::Session& session = turn.session();
    if (!open_)
        throw DbError("the connection is closed");
    try {
        if (session) {
            session->fetchInto(commandText, declared, control, into);
            return;
        }
    } catch (const DbError& error) {
        if (!error.connectionLost())
            throw;
    }
    // The session is gone: a new connection, one more run, unless the statement was cancelled
    // (it may have been left behind, by a connection that is gone by now).
    control.throwIfCancelled();
    session.reset();
    session = reconnect(control);
    try {
        session->fetchInto(commandText, declared, control, into);
    } catch (const DbError& error) {
        if (!error.connectionLost())
            throw;
        // Lost twice in one run. A server that takes a new connection once more is there and
        // sends answers that cannot be read: the statement failed, and is not run a third
        // time. One that takes none within the patience is going away (ServerUnreachable).
        session.reset();
        session = reconnect(control);
        throw DbError("the answer was lost twice, the server is there: " +
                      std::string(error.what()));
    }
}

std::unique_ptr<DatabaseBackend> Connection::reconnect(const WorkControl& control) const {
    using namespace std::chrono_literals;
    const auto giveUp = std::chrono::steady_clock::now() + patience_;
    for (std::chrono::milliseconds wait = 250ms;;
         wait = std::min<std::chrono::milliseconds>(2 * wait, 8s)) {
        control.throwIfCancelled();
        try {
            return connectBackend(settings_, loginTimeoutSeconds_);
        } catch (const DbError& error) {
            // The last wait is what is left of the patience, and one more try follows it.
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                giveUp - std::chrono::steady_clock::now());
            if (left <= 0ms)
                throw ServerUnreachable("cannot connect again: " + std::string(error.what()));
            wait = std::min(wait, left);
        }
        waitUnlessCancelled(wait, control);
    }
}
