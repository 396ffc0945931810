#include "OdbcHandle.h"

#include "OdbcText.h"
#include "result/DbError.h"

namespace {

// Whether a diagnostic record with this SQLSTATE stands in the text.
bool hasState(const std::string& diagnostics, const char* state) {
    for (std::size_t at = diagnostics.find(state); at != std::string::npos;
         at = diagnostics.find(state, at + 1))
        if (at == 0 || diagnostics.compare(at - 2, 2, "; ") == 0)
            return true;
    return false;
}

} // namespace

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
    return odbcDiagnostics(type_, handle_);
}

void OdbcHandle::check(SQLRETURN rc, const char* what) const {
    if (SQL_SUCCEEDED(rc))
        return;
    const std::string text = diagnostics();
    // Communication link failure, or no connection any more.
    const bool lost = hasState(text, "08S01") || hasState(text, "08003");
    throw DbError(std::string(what) + ": " + text, lost);
}
