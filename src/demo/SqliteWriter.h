#pragma once

#include <sqlite3.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// A value to insert: null, text, integer or real.
using SqlValue = std::variant<std::monostate, std::string, long long, double>;

// Inserts rows through one prepared statement of a writable SQLite file.
class SqliteInserter {
public:
    SqliteInserter(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~SqliteInserter() { sqlite3_finalize(statement_); }
    SqliteInserter(const SqliteInserter&) = delete;
    SqliteInserter& operator=(const SqliteInserter&) = delete;

    template <typename... Values> void insert(const Values&... values) {
        int index = 0;
        (bind(++index, SqlValue(values)), ...);
        if (sqlite3_step(statement_) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db_));
        sqlite3_reset(statement_);
    }

private:
    void bind(int index, const SqlValue& value) {
        if (const auto* text = std::get_if<std::string>(&value))
            sqlite3_bind_text(statement_, index, text->data(), static_cast<int>(text->size()),
                              SQLITE_TRANSIENT);
        else if (const auto* integer = std::get_if<long long>(&value))
            sqlite3_bind_int64(statement_, index, *integer);
        else if (const auto* real = std::get_if<double>(&value))
            sqlite3_bind_double(statement_, index, *real);
        else
            sqlite3_bind_null(statement_, index);
    }

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// A text, or null when absent.
inline SqlValue textOrNull(const std::optional<std::string>& text) {
    return text ? SqlValue(*text) : SqlValue();
}
