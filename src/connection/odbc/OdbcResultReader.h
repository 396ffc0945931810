#pragma once

#include "../FieldKind.h"
#include "../ResultSet.h"
#include "OdbcHandle.h"

#include <span>

// Reads every row of an executed statement into a result. Columns are bound column-wise to
// arrays of rows and fetched in blocks; a result with a long (unbounded) text column is read
// row by row with SQLGetData instead.
ResultSet readOdbcResult(const OdbcHandle& statement, std::span<const FieldDecl> declared);

// The kind of value that an ODBC SQL type delivers.
FieldKind kindFromOdbcType(SQLSMALLINT sqlType);
