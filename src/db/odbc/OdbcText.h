#pragma once

#include "OdbcApi.h"

#include <string>
#include <string_view>
#include <vector>

// Text crosses ODBC through the wide functions and SQL_C_WCHAR only, on every platform. A
// driver that has wide functions (FreeTDS, the SQL Server drivers of Windows) then gets the
// text as it is; mixing in a narrow call makes the driver manager convert between the two
// in its own code set (Latin-1 or ASCII under unixODBC, the ANSI code page on Windows), and
// every Chinese character of a statement or a log-in arrives garbled. Only for a driver
// without wide functions (the SQLite driver of the tests) does unixODBC convert, in the code
// set of the process's locale.
inline constexpr SQLSMALLINT kOdbcTextType = SQL_C_WCHAR;
inline constexpr SQLLEN kOdbcTextUnitBytes = sizeof(SQLWCHAR);

// Buffer bytes that hold any text of a column of `columnChars` characters and its terminator.
inline SQLLEN odbcTextBufferBytes(SQLULEN columnChars) {
    return static_cast<SQLLEN>(columnChars + 1) * kOdbcTextUnitBytes;
}

// Appends `bytes` of text as ODBC delivers it (UTF-16) to `utf8`.
void appendOdbcText(const void* text, std::size_t bytes, std::string& utf8);

SQLRETURN odbcDriverConnect(SQLHDBC connection, std::string_view connectionString);
SQLRETURN odbcExecDirect(SQLHSTMT statement, std::string_view commandText);
SQLRETURN odbcDescribeColumn(SQLHSTMT statement, SQLUSMALLINT index, std::string& name,
                             SQLSMALLINT& sqlType, SQLULEN& size);
// A text the driver returned into a buffer of `room` characters, with the length it gave.
std::string odbcReturnedText(const SQLWCHAR* text, SQLSMALLINT length, std::size_t room);

// One diagnostic record of a handle.
struct OdbcDiagnostic {
    std::string state;
    long nativeError = 0;
    std::string message;
};
std::vector<OdbcDiagnostic> odbcDiagnosticRecords(SQLSMALLINT handleType, SQLHANDLE handle);
// Every diagnostic record of a handle as "STATE message; STATE message".
std::string odbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);
