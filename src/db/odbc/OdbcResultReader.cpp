#include "OdbcResultReader.h"

#include "OdbcText.h"
#include "OdbcValue.h"
#include "db/ColumnPlan.h"
#include "result/DateTime.h"
#include "result/DbError.h"
#include "result/FixedPoint.h"
#include "result/TextValue.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr SQLULEN kRowsPerBlock = 1000;
constexpr SQLULEN kLongTextChars = 4000;        // wider text columns count as unbounded
constexpr SQLULEN kFirstLongBufferChars = 255;  // what an unbounded column is bound with first
constexpr SQLLEN kLongBufferCapBytes = 1 << 14; // beyond this per value, a run goes row by row
constexpr SQLLEN kDecimalTextBytes = 48;        // room for any number or date as text

struct Described {
    std::string name;
    SQLSMALLINT sqlType = 0;
    SQLULEN size = 0;
};

// One result column's fetch buffer: the C type the driver converts to and room for a block.
struct Binding {
    SQLUSMALLINT sourceIndex = 0; // 1-based ODBC column number
    ResultColumn* target = nullptr;
    SQLSMALLINT cType = kOdbcTextType;
    SQLLEN elementBytes = 0;
    bool fromText = false; // a text column filling a field of another kind
    // A text column: its buffer grows to the longest value met, since a value may be longer
    // than an unbounded column's first buffer, or than what a driver says of an expression.
    bool growable = false;
    std::vector<unsigned char> values;
    std::vector<SQLLEN> indicators;

    const unsigned char* element(SQLULEN row) const {
        return values.data() + row * static_cast<SQLULEN>(elementBytes);
    }
    // Whether the driver delivered the whole text value into the buffer.
    bool fits(SQLLEN indicator) const {
        return indicator != SQL_NO_TOTAL && indicator + kOdbcTextUnitBytes <= elementBytes;
    }
};

SQLSMALLINT cTypeFor(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text:
        return kOdbcTextType;
    case FieldKind::Decimal:
        return SQL_C_CHAR;
    case FieldKind::Double:
        return SQL_C_DOUBLE;
    case FieldKind::Integer:
        return SQL_C_SBIGINT;
    case FieldKind::DateTime:
        return SQL_C_TYPE_TIMESTAMP;
    }
    return kOdbcTextType;
}

SQLLEN elementBytesFor(FieldKind kind, SQLULEN columnSize) {
    switch (kind) {
    case FieldKind::Text:
        return odbcTextBufferBytes(columnSize);
    case FieldKind::Decimal:
        return kDecimalTextBytes;
    case FieldKind::Double:
        return sizeof(double);
    case FieldKind::Integer:
        return sizeof(SQLBIGINT);
    case FieldKind::DateTime:
        return sizeof(SQL_TIMESTAMP_STRUCT);
    }
    return 0;
}

// Appends the value of one row of the buffer, whose indicator says its length or null.
void appendValue(const Binding& b, const unsigned char* value, SQLLEN indicator,
                 std::string& scratch) {
    appendOdbcValue(*b.target, {value, b.elementBytes, indicator, b.fromText}, scratch);
}

// A whole text value of the current row through SQLGetData, piece by piece; false for null.
bool getWholeText(const OdbcHandle& statement, SQLUSMALLINT index, std::string& out) {
    out.clear();
    unsigned char piece[8192];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc =
            SQLGetData(statement.get(), index, kOdbcTextType, piece, sizeof piece, &indicator);
        if (rc == SQL_NO_DATA)
            return true;
        statement.check(rc, "read long text");
        if (indicator == SQL_NULL_DATA)
            return false;
        const std::size_t room = sizeof piece - kOdbcTextUnitBytes;
        const std::size_t bytes =
            indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > room
                ? room
                : static_cast<std::size_t>(indicator);
        appendOdbcText(piece, bytes, out);
        if (rc == SQL_SUCCESS)
            return true;
    }
}

// Returns false when a text value did not fit its buffer: the rest of the result is then
// only measured, and `needed` holds the bytes per value that each column's next run must bind
// with, so that one more run reads it whole. (FreeTDS, like the SQLite driver, cannot read one
// value of a fetched block again, whatever SQL_GETDATA_EXTENSIONS says.)
bool readInBlocks(const OdbcHandle& statement, std::vector<Binding>& bindings,
                  std::vector<SQLLEN>& needed, OdbcFetchCounts& counts, WorkControl& control,
                  ResultSet& result) {
    const SQLHSTMT h = statement.get();
    SQLULEN fetched = 0;
    std::vector<SQLUSMALLINT> status(kRowsPerBlock);
    statement.check(SQLSetStmtAttr(h, SQL_ATTR_ROW_BIND_TYPE,
                                   reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0),
                    "column-wise binding");
    statement.check(
        SQLSetStmtAttr(h, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRowsPerBlock), 0),
        "row array size");
    statement.check(SQLSetStmtAttr(h, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), "rows fetched");
    statement.check(SQLSetStmtAttr(h, SQL_ATTR_ROW_STATUS_PTR, status.data(), 0), "row status");
    for (Binding& b : bindings) {
        b.values.resize(static_cast<std::size_t>(b.elementBytes) * kRowsPerBlock);
        b.indicators.resize(kRowsPerBlock);
        statement.check(SQLBindCol(h, b.sourceIndex, b.cType, b.values.data(), b.elementBytes,
                                   b.indicators.data()),
                        "bind column");
    }
    std::string scratch;
    bool complete = true;
    for (;;) {
        const SQLRETURN rc = SQLFetch(h);
        ++counts.fetchCalls;
        if (rc == SQL_NO_DATA)
            break;
        statement.check(rc, "fetch");
        control.addDone(fetched);
        control.throwIfCancelled();
        for (SQLULEN row = 0; row < fetched; ++row) {
            if (status[row] == SQL_ROW_ERROR)
                throw DbError("fetch: " + statement.diagnostics());
            for (std::size_t i = 0; i < bindings.size(); ++i) {
                const Binding& b = bindings[i];
                const SQLLEN indicator = b.indicators[row];
                if (!b.growable || indicator == SQL_NULL_DATA || b.fits(indicator)) {
                    if (complete)
                        appendValue(b, b.element(row), indicator, scratch);
                    continue;
                }
                // A length the driver does not know (FreeTDS converting a long value) asks
                // for the largest block buffer, and past it for reading row by row.
                const SQLLEN length = indicator != SQL_NO_TOTAL ? indicator + kOdbcTextUnitBytes
                                      : b.elementBytes < kLongBufferCapBytes
                                          ? kLongBufferCapBytes
                                          : kLongBufferCapBytes + 1;
                needed[i] = std::max(needed[i], length);
                complete = false;
            }
        }
        if (complete)
            result.publishRows();
    }
    return complete;
}

// Every value through SQLGetData, one row per fetch: for values too long for a block buffer.
void readRowByRow(const OdbcHandle& statement, std::vector<Binding>& bindings,
                  OdbcFetchCounts& counts, WorkControl& control, ResultSet& result) {
    std::string scratch;
    std::string longText;
    for (Binding& b : bindings)
        b.values.resize(static_cast<std::size_t>(b.elementBytes));
    for (;;) {
        const SQLRETURN rc = SQLFetch(statement.get());
        ++counts.fetchCalls;
        if (rc == SQL_NO_DATA)
            break;
        statement.check(rc, "fetch");
        control.addDone(1);
        control.throwIfCancelled();
        for (Binding& b : bindings) {
            if (b.target->kind() == FieldKind::Text) {
                if (getWholeText(statement, b.sourceIndex, longText))
                    b.target->appendText(longText);
                else
                    b.target->appendNull();
                continue;
            }
            SQLLEN indicator = 0;
            statement.check(SQLGetData(statement.get(), b.sourceIndex, b.cType, b.values.data(),
                                       b.elementBytes, &indicator),
                            "read value");
            appendValue(b, b.values.data(), indicator, scratch);
        }
        result.publishRows();
    }
}

} // namespace

FieldKind kindFromOdbcType(SQLSMALLINT sqlType) {
    switch (sqlType) {
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return FieldKind::Decimal;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return FieldKind::Double;
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
    case SQL_BIT:
        return FieldKind::Integer;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATETIME:
    case SQL_TIMESTAMP:
        return FieldKind::DateTime;
    default:
        return FieldKind::Text;
    }
}

bool readOdbcResult(const OdbcHandle& statement, std::span<const FieldDecl> declared,
                    GrownBuffers& buffers, OdbcFetchCounts& counts, WorkControl& control,
                    RowArrival& into) {
    control.setDone(0);
    const std::size_t runs = counts.runs + 1;
    counts = {};
    counts.runs = runs;
    SQLSMALLINT columnCount = 0;
    statement.check(SQLNumResultCols(statement.get(), &columnCount), "count columns");
    if (columnCount <= 0)
        throw DbError("the statement returned no result");
    std::vector<Described> described;
    std::vector<SourceColumn> source;
    for (SQLSMALLINT i = 1; i <= columnCount; ++i) {
        Described column;
        statement.check(odbcDescribeColumn(statement.get(), static_cast<SQLUSMALLINT>(i),
                                           column.name, column.sqlType, column.size),
                        "describe column");
        source.push_back({column.name, kindFromOdbcType(column.sqlType)});
        described.push_back(std::move(column));
    }
    const ColumnPlan plan = planColumns(source, declared);
    ResultSet& result = into.begin(plan.makeEmptyResult());

    std::vector<Binding> bindings;
    for (std::size_t i = 0; i < described.size(); ++i) {
        const int target = plan.targetOf[i];
        if (target < 0)
            continue;
        Binding b;
        b.sourceIndex = static_cast<SQLUSMALLINT>(i + 1);
        b.target = &result.column(static_cast<std::size_t>(target));
        b.fromText = source[i].kind == FieldKind::Text && b.target->kind() != FieldKind::Text;
        b.cType = b.fromText ? SQL_C_CHAR : cTypeFor(b.target->kind());
        b.growable = b.target->kind() == FieldKind::Text && !b.fromText;
        const bool unbounded =
            b.growable && (described[i].size == 0 || described[i].size > kLongTextChars);
        b.elementBytes = b.fromText  ? kDecimalTextBytes
                         : unbounded ? odbcTextBufferBytes(kFirstLongBufferChars)
                                     : elementBytesFor(b.target->kind(), described[i].size);
        if (const auto grown = buffers.bytes.find(b.sourceIndex); grown != buffers.bytes.end())
            b.elementBytes = std::max(b.elementBytes, grown->second);
        bindings.push_back(std::move(b));
    }
    if (buffers.rowByRow) {
        readRowByRow(statement, bindings, counts, control, result);
        return true;
    }
    std::vector<SQLLEN> needed(bindings.size());
    if (readInBlocks(statement, bindings, needed, counts, control, result))
        return true;
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        if (needed[i] <= bindings[i].elementBytes)
            continue;
        buffers.bytes[bindings[i].sourceIndex] = needed[i];
        buffers.rowByRow |= needed[i] > kLongBufferCapBytes;
    }
    return false;
}
