#pragma once

#include "db/DatabaseBackend.h"

#include <string>

struct sqlite3;

// The embedded ERP database: an SQLite file opened read-only and attached a second time as
// schema "dbo", so that the SQL Server statements resolve dbo.Table.column unchanged.
class SqliteBackend : public DatabaseBackend {
public:
    explicit SqliteBackend(const std::string& path); // throws DbError
    ~SqliteBackend() override;

    SessionInfo sessionInfo() const override;
    SqliteBackend(const SqliteBackend&) = delete;
    SqliteBackend& operator=(const SqliteBackend&) = delete;

    void fetchInto(const std::string& commandText, std::span<const FieldDecl> declared,
                   WorkControl& control, RowArrival& into) override;

private:
    void execute(const char* sql, const std::string& boundText);

    sqlite3* db_ = nullptr;
};
