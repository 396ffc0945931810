#pragma once

#include "OdbcApi.h"

#include <string>

// Owns one ODBC handle and frees it when it goes.
class OdbcHandle {
public:
    // Allocates a handle of the type under `parent`; throws DbError when that fails.
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
    ~OdbcHandle();
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT type() const { return type_; }

    // Throws DbError with the handle's diagnostic records when rc is an error.
    void check(SQLRETURN rc, const char* what) const;
    std::string diagnostics() const;

private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};
