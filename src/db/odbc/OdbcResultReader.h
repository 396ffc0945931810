#pragma once

#include "OdbcHandle.h"
#include "db/RowArrival.h"
#include "db/WorkControl.h"
#include "result/FieldKind.h"
#include "result/ResultSet.h"

#include <cstddef>
#include <map>
#include <span>

// How a result was read: the runs of the statement and the SQLFetch calls of the last run.
struct OdbcFetchCounts {
    std::size_t runs = 0;
    std::size_t fetchCalls = 0;
};

// The buffer bytes per value that the text columns of a statement are bound with, by column
// number, grown from run to run; beyond a cap a run reads row by row instead.
struct GrownBuffers {
    std::map<SQLUSMALLINT, SQLLEN> bytes;
    bool rowByRow = false;
};

// Reads every row of an executed statement into a result begun in `into`, publishing each
// block as it comes. Columns are bound column-wise to arrays of rows and fetched in blocks. A text
// column is bound with a buffer for its described size (255 characters at first for an unbounded
// one, varchar(max)). When a value is longer than its buffer, it returns false and `buffers` tells
// how the statement's next run must bind to hold every value, block by block, or past a cap row by
// row. Rows read so far go into `control`; a stop it asks for ends the reading with WorkCancelled.
bool readOdbcResult(const OdbcHandle& statement, std::span<const FieldDecl> declared,
                    GrownBuffers& buffers, OdbcFetchCounts& counts, WorkControl& control,
                    RowArrival& into);

// The kind of value that an ODBC SQL type delivers.
FieldKind kindFromOdbcType(SQLSMALLINT sqlType);
