#pragma once

#include "TdsServer.h"
#include "TdsTable.h"

#include "result/ResultSet.h"

#include <memory>
#include <string>

// Answers each batch from a SQLite copy of the ERP's data as the ERP's SQL Server would: the
// statement runs through the program's SQLite backend, and every column of its result goes
// out in the type that the ERP's database gives it (nvarchar, varchar in code page 936,
// varchar(max) for the journal's flag, decimal, money, float, datetime). A statement that
// SQLite refuses is answered with a SQL Server error.
class ErpTdsResponder {
public:
    explicit ErpTdsResponder(std::string sqlitePath) : path_(std::move(sqlitePath)) {}
    std::shared_ptr<const std::string> operator()(const std::string& batch) const;

private:
    std::string path_;
};
