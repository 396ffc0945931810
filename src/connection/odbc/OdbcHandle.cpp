#include "OdbcHandle.h"

#include "../DbError.h"
#include "../Utf16.h"

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
    const SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
    if (!SQL_SUCCEEDED(rc))
        throw DbError("cannot allocate an ODBC handle");
}

OdbcHandle::~OdbcHandle() {
    if (type_ == SQL_HANDLE_DBC)
        SQLDisconnect(handle_);
    SQLFreeHandle(type_, handle_);
}

std::string OdbcHandle::diagnostics() const {
    std::string text;
    SQLWCHAR state[6];
    SQLWCHAR message[1024];
    SQLINTEGER nativeError = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT record = 1;
         SQL_SUCCEEDED(SQLGetDiagRecW(type_, handle_, record, state, &nativeError, message,
                                      sizeof message / sizeof message[0], &length));
         ++record) {
        if (!text.empty())
            text += "; ";
        appendUtf16AsUtf8(reinterpret_cast<const char16_t*>(state), 5, text);
        text += ' ';
        const auto shown = static_cast<std::size_t>(
            std::min<SQLSMALLINT>(length, sizeof message / sizeof message[0] - 1));
        appendUtf16AsUtf8(reinterpret_cast<const char16_t*>(message), shown, text);
    }
    return text;
}

void OdbcHandle::check(SQLRETURN rc, const char* what) const {
    if (!SQL_SUCCEEDED(rc))
        throw DbError(std::string(what) + ": " + diagnostics());
}
