#include "FuzzSql.h"

#include "db/ResultQuery.h"
#include "db/sqlite/TsqlText.h"
#include "db/sqlite/TsqlToSqlite.h"
#include "demo/DemoSchema.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>

namespace {

// The demo's schema under both names the statements use for it, opened once.
sqlite3* demoSchema() {
    static sqlite3* const db = [] {
        sqlite3* opened = nullptr;
        if (sqlite3_open(":memory:", &opened) != SQLITE_OK ||
            useTsqlTextRules(opened) != SQLITE_OK ||
            sqlite3_exec(opened, kDemoSchema, nullptr, nullptr, nullptr) != SQLITE_OK ||
            sqlite3_exec(opened, "ATTACH DATABASE ':memory:' AS dbo", nullptr, nullptr, nullptr) !=
                SQLITE_OK)
            std::abort();
        std::string dbo = kDemoSchema;
        for (std::size_t at = 0; (at = dbo.find("CREATE TABLE ", at)) != std::string::npos;)
            at = dbo.replace(at, 13, "CREATE TABLE dbo.").find('\n', at);
        for (std::size_t at = 0; (at = dbo.find("CREATE INDEX ", at)) != std::string::npos;)
            at = dbo.replace(at, 13, "CREATE INDEX dbo.").find('\n', at);
        if (sqlite3_exec(opened, dbo.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            std::abort();
        return opened;
    }();
    return db;
}

} // namespace

std::string preparesAsOneStatement(const std::vector<std::string>& lines) {
    const std::string sql = tsqlToSqlite(joinedStatement(lines));
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(demoSchema(), sql.c_str(), static_cast<int>(sql.size() + 1),
                                      &statement, &tail);
    sqlite3_finalize(statement);
    if (rc != SQLITE_OK)
        return sqlite3_errmsg(demoSchema());
    if (statement == nullptr)
        return "no statement";
    for (; tail && *tail; ++tail)
        if (!std::strchr(" \t\r\n", *tail))
            return std::string("more after the statement: ") + tail;
    return {};
}

std::string literalReadBack(std::string_view literal) {
    const std::string sql = "SELECT " + tsqlToSqlite(literal);
    sqlite3_stmt* statement = nullptr;
    std::string value = "(not prepared)";
    if (sqlite3_prepare_v2(demoSchema(), sql.c_str(), static_cast<int>(sql.size()), &statement,
                           nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value.assign(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)));
    sqlite3_finalize(statement);
    return value;
}

std::vector<std::string> fuzzFields(const unsigned char* data, std::size_t size, char separator) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < size; ++i)
        if (static_cast<char>(data[i]) == separator)
            fields.emplace_back();
        else
            fields.back() += static_cast<char>(data[i]);
    return fields;
}
