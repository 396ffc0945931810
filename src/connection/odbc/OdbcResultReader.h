#pragma once

#include "../FieldKind.h"
#include "../ResultSet.h"
#include "OdbcHandle.h"

#include <cstddef>
#include <span>

// How a result was read: SQLFetch calls, and values of unbounded columns that did not fit
// their buffer and were read again on their own.
struct OdbcFetchCounts {
    std::size_t fetchCalls = 0;
    std::size_t valuesReadAgain = 0;
};

// Reads every row of an executed statement into a result. Columns are bound column-wise to
// arrays of rows and fetched in blocks. An unbounded text column (varchar(max)) is bound with
// a buffer that grows to the longest value met; a value longer than the buffer is read again
// with SQLGetData. Only a driver that cannot read single values of a block makes a result with
// such a column go row by row.
ResultSet readOdbcResult(const OdbcHandle& statement, std::span<const FieldDecl> declared,
                         bool valuesOfABlockReadable, OdbcFetchCounts& counts);

// Whether the connection's driver reads single values of a fetched block (SQLSetPos, then
// SQLGetData).
bool readsValuesOfABlock(const OdbcHandle& connection);

// The kind of value that an ODBC SQL type delivers.
FieldKind kindFromOdbcType(SQLSMALLINT sqlType);
