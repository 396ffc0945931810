#pragma once

#include "../FieldKind.h"
#include "../ResultSet.h"
#include "OdbcHandle.h"

#include <cstddef>
#include <map>
#include <optional>
#include <span>

// How a result was read: the runs of the statement, SQLFetch calls (of the last run), and
// text values that did not fit their buffer and were read again on their own.
struct OdbcFetchCounts {
    std::size_t runs = 0;
    std::size_t fetchCalls = 0;
    std::size_t valuesReadAgain = 0;
};

// The buffer bytes per value that the text columns of a statement are bound with, by column
// number, grown from run to run; beyond a cap a run reads row by row instead.
struct GrownBuffers {
    std::map<SQLUSMALLINT, SQLLEN> bytes;
    bool rowByRow = false;
};

// Reads every row of an executed statement into a result. Columns are bound column-wise to
// arrays of rows and fetched in blocks. A text column is bound with a buffer for its described
// size (255 characters at first for an unbounded one, varchar(max)) that grows to the longest
// value met. A value longer than its buffer is read again alone (SQLSetPos, SQLGetData) where
// the driver can; where it cannot (FreeTDS), nothing is returned and `buffers` tells how the
// statement's next run must bind to hold it.
std::optional<ResultSet> readOdbcResult(const OdbcHandle& statement,
                                        std::span<const FieldDecl> declared, GrownBuffers& buffers,
                                        OdbcFetchCounts& counts);

// The kind of value that an ODBC SQL type delivers.
FieldKind kindFromOdbcType(SQLSMALLINT sqlType);
