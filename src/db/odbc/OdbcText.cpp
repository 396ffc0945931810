#include "OdbcText.h"

#include "result/Utf16.h"

#include <algorithm>

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "ODBC's wide characters are UTF-16");

SQLWCHAR* odbcChars(std::u16string& text) {
    return reinterpret_cast<SQLWCHAR*>(text.data());
}

// Characters of a returned text, bounded by the buffer that received it and by its
// terminator: unixODBC, converting a narrow driver's name, reports its length in bytes.
std::size_t shownChars(const SQLWCHAR* text, SQLSMALLINT length, std::size_t room) {
    const std::size_t bounded =
        std::min(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), room - 1);
    return static_cast<std::size_t>(std::find(text, text + bounded, SQLWCHAR{0}) - text);
}

} // namespace

std::string odbcReturnedText(const SQLWCHAR* text, SQLSMALLINT length, std::size_t room) {
    std::string utf8;
    appendOdbcText(text, shownChars(text, length, room) * sizeof(SQLWCHAR), utf8);
    return utf8;
}

void appendOdbcText(const void* text, std::size_t bytes, std::string& utf8) {
    appendUtf16AsUtf8(static_cast<const char16_t*>(text), bytes / sizeof(char16_t), utf8);
}

SQLRETURN odbcDriverConnect(SQLHDBC connection, std::string_view connectionString) {
    std::u16string text = utf8ToUtf16(connectionString);
    return SQLDriverConnectW(connection, nullptr, odbcChars(text),
                             static_cast<SQLSMALLINT>(text.size()), nullptr, 0, nullptr,
                             SQL_DRIVER_NOPROMPT);
}

SQLRETURN odbcExecDirect(SQLHSTMT statement, std::string_view commandText) {
    std::u16string text = utf8ToUtf16(commandText);
    return SQLExecDirectW(statement, odbcChars(text), static_cast<SQLINTEGER>(text.size()));
}

SQLRETURN odbcDescribeColumn(SQLHSTMT statement, SQLUSMALLINT index, std::string& name,
                             SQLSMALLINT& sqlType, SQLULEN& size) {
    SQLWCHAR buffer[256];
    SQLSMALLINT length = 0;
    SQLSMALLINT digits = 0;
    SQLSMALLINT nullable = 0;
    const SQLRETURN rc = SQLDescribeColW(statement, index, buffer, 256, &length, &sqlType, &size,
                                         &digits, &nullable);
    name = SQL_SUCCEEDED(rc) ? odbcReturnedText(buffer, length, 256) : std::string();
    return rc;
}

std::vector<OdbcDiagnostic> odbcDiagnosticRecords(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::vector<OdbcDiagnostic> records;
    SQLWCHAR state[6];
    SQLWCHAR message[1024];
    SQLINTEGER nativeError = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT record = 1; SQL_SUCCEEDED(SQLGetDiagRecW(
             handleType, handle, record, state, &nativeError, message, 1024, &length));
         ++record)
        records.push_back({odbcReturnedText(state, 5, 6), static_cast<long>(nativeError),
                           odbcReturnedText(message, length, 1024)});
    return records;
}

std::string odbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::string text;
    for (const OdbcDiagnostic& record : odbcDiagnosticRecords(handleType, handle))
        text += (text.empty() ? "" : "; ") + record.state + ' ' + record.message;
    return text;
}
