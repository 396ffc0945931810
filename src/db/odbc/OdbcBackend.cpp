#include "OdbcBackend.h"

#include "OdbcConnectFailure.h"
#include "OdbcText.h"
#include "StatementCanceller.h"
#include "result/DbError.h"

OdbcBackend::OdbcBackend(const std::string& connectionString, int loginTimeoutSeconds) {
    environment_ = std::make_unique<OdbcHandle>(SQL_HANDLE_ENV, SQLHANDLE{});
    environment_->check(SQLSetEnvAttr(environment_->get(), SQL_ATTR_ODBC_VERSION,
                                      reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
                        "ODBC version");
    connection_ = std::make_unique<OdbcHandle>(SQL_HANDLE_DBC, environment_->get());
    const SQLHDBC dbc = connection_->get();
    connection_->check(
        SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT,
                          reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(loginTimeoutSeconds)),
                          0),
        "login time-out");
    // Drivers may ignore this; the program's own guarantee is that it only sends SELECTs.
    SQLSetConnectAttr(dbc, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY),
                      0);
    if (!SQL_SUCCEEDED(odbcDriverConnect(dbc, connectionString))) {
        const auto diagnostics = odbcDiagnosticRecords(SQL_HANDLE_DBC, dbc);
        const std::string reason = connection_->diagnostics();
        connection_.reset(); // nothing to disconnect; free it before the environment
        const ConnectFailure failure = connectFailureOf(diagnostics);
        throw ConnectError(failure, connectFailureReason(failure), "cannot connect: " + reason);
    }
    if (const auto start = connectionString.find("DRIVER={"); start != std::string::npos)
        driverName_ =
            connectionString.substr(start + 8, connectionString.find('}', start) - start - 8);
}

std::string OdbcBackend::info(SQLUSMALLINT type) const {
    SQLWCHAR text[256];
    SQLSMALLINT bytes = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(connection_->get(), type, text, sizeof text, &bytes)))
        return {};
    return odbcReturnedText(text, static_cast<SQLSMALLINT>(bytes / sizeof(SQLWCHAR)), 256);
}

SessionInfo OdbcBackend::sessionInfo() const {
    return {info(SQL_DBMS_NAME) + " " + info(SQL_DBMS_VER),
            (driverName_.empty() ? info(SQL_DRIVER_NAME) : driverName_) + " " +
                info(SQL_DRIVER_VER)};
}

bool OdbcBackend::connectionDead() const {
    SQLUINTEGER dead = SQL_CD_FALSE;
    return SQL_SUCCEEDED(SQLGetConnectAttr(connection_->get(), SQL_ATTR_CONNECTION_DEAD, &dead,
                                           sizeof dead, nullptr)) &&
           dead == SQL_CD_TRUE;
}

void OdbcBackend::fetchInto(const std::string& commandText, std::span<const FieldDecl> declared,
                            WorkControl& control, RowArrival& into) {
    try {
        GrownBuffers buffers;
        lastFetchCounts_ = {};
        // A value that outgrew its buffer where the driver cannot read it again alone makes
        // the statement run again with buffers that hold it.
        for (;;) {
            OdbcHandle statement(SQL_HANDLE_STMT, connection_->get());
            StatementCanceller canceller(statement.get());
            // A cancel comes under the control's lock, one at a time, and the interrupter is
            // gone before the canceller.
            const WorkControl::Interruptible running(control, [&canceller] { canceller.cancel(); });
            const SQLRETURN rc = odbcExecDirect(statement.get(), commandText);
            if (rc == SQL_NO_DATA)
                throw DbError("the statement returned no result");
            statement.check(rc, "statement refused");
            if (readOdbcResult(statement, declared, buffers, lastFetchCounts_, control, into))
                return;
        }
    } catch (const DbError& error) {
        control.throwIfCancelled(); // the driver's "operation cancelled"
        // FreeTDS reports a closed socket as a general error; the connection knows better.
        if (!error.connectionLost() && connectionDead())
            throw DbError(error.what(), true);
        throw;
    }
}
