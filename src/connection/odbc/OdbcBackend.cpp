#include "OdbcBackend.h"

#include "../DbError.h"
#include "../Utf16.h"
#include "OdbcResultReader.h"

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
    std::u16string text = utf8ToUtf16(connectionString);
    const SQLRETURN rc = SQLDriverConnectW(dbc, nullptr, reinterpret_cast<SQLWCHAR*>(text.data()),
                                           static_cast<SQLSMALLINT>(text.size()), nullptr, 0,
                                           nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        const std::string reason = connection_->diagnostics();
        connection_.reset(); // nothing to disconnect; free it before the environment
        throw DbError("cannot connect: " + reason);
    }
}

ResultSet OdbcBackend::fetchAll(const std::string& commandText,
                                std::span<const FieldDecl> declared) {
    OdbcHandle statement(SQL_HANDLE_STMT, connection_->get());
#ifdef _WIN32
    // The narrow functions would take the ANSI code page here.
    std::u16string text = utf8ToUtf16(commandText);
    const SQLRETURN rc = SQLExecDirectW(statement.get(), reinterpret_cast<SQLWCHAR*>(text.data()),
                                        static_cast<SQLINTEGER>(text.size()));
#else
    // Drivers under unixODBC take narrow text as UTF-8 (FreeTDS with ClientCharset=UTF-8);
    // the wide path garbles Chinese text in some of them.
    std::string text = commandText;
    const SQLRETURN rc = SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                                       static_cast<SQLINTEGER>(text.size()));
#endif
    if (rc == SQL_NO_DATA)
        throw DbError("the statement returned no result");
    statement.check(rc, "statement refused");
    return readOdbcResult(statement, declared);
}
