#include "OdbcResultReader.h"

#include "../ColumnPlan.h"
#include "../DateTime.h"
#include "../DbError.h"
#include "../FixedPoint.h"
#include "../TextValue.h"
#include "../Utf16.h"

#include <cstring>
#include <vector>

namespace {

constexpr SQLULEN kRowsPerBlock = 1000;
constexpr SQLULEN kLongTextChars = 4000; // wider text columns are read with SQLGetData
constexpr SQLLEN kDecimalTextBytes = 48; // room for any number or date as text

struct Described {
    std::string name;
    SQLSMALLINT sqlType = 0;
    SQLULEN size = 0;
};

Described describe(const OdbcHandle& statement, SQLUSMALLINT index) {
    Described column;
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT digits = 0;
    SQLSMALLINT nullable = 0;
#ifdef _WIN32
    SQLWCHAR name[256];
    statement.check(SQLDescribeColW(statement.get(), index, name, 256, &nameLength, &column.sqlType,
                                    &column.size, &digits, &nullable),
                    "describe column");
    appendUtf16AsUtf8(reinterpret_cast<const char16_t*>(name),
                      static_cast<std::size_t>(std::min<SQLSMALLINT>(nameLength, 255)),
                      column.name);
#else
    // Names come as UTF-8 under unixODBC, like the statement text.
    SQLCHAR name[1024];
    statement.check(SQLDescribeCol(statement.get(), index, name, sizeof name, &nameLength,
                                   &column.sqlType, &column.size, &digits, &nullable),
                    "describe column");
    column.name.assign(
        reinterpret_cast<const char*>(name),
        static_cast<std::size_t>(std::min<SQLSMALLINT>(nameLength, sizeof name - 1)));
#endif
    return column;
}

// One result column's fetch buffer: the C type the driver converts to and room for a block.
struct Binding {
    SQLUSMALLINT sourceIndex = 0; // 1-based ODBC column number
    ResultColumn* target = nullptr;
    SQLSMALLINT cType = SQL_C_WCHAR;
    SQLLEN elementBytes = 0;
    bool fromText = false; // a text column filling a field of another kind
    std::vector<unsigned char> values;
    std::vector<SQLLEN> indicators;
};

SQLSMALLINT cTypeFor(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text:
        return SQL_C_WCHAR;
    case FieldKind::Decimal:
        return SQL_C_CHAR;
    case FieldKind::Double:
        return SQL_C_DOUBLE;
    case FieldKind::Integer:
        return SQL_C_SBIGINT;
    case FieldKind::DateTime:
        return SQL_C_TYPE_TIMESTAMP;
    }
    return SQL_C_WCHAR;
}

SQLLEN elementBytesFor(FieldKind kind, SQLULEN columnSize) {
    switch (kind) {
    case FieldKind::Text:
        return static_cast<SQLLEN>((columnSize + 1) * sizeof(SQLWCHAR));
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
void appendValue(Binding& b, const unsigned char* value, SQLLEN indicator, std::string& scratch) {
    ResultColumn& column = *b.target;
    if (indicator == SQL_NULL_DATA) {
        column.appendNull();
        return;
    }
    if (b.fromText) {
        const auto* text = reinterpret_cast<const char*>(value);
        if (indicator >= b.elementBytes ||
            !appendTextValue(column, std::string_view(text, static_cast<std::size_t>(indicator))))
            throw DbError("field " + column.name() + " holds no " +
                          std::string(fieldKindName(column.kind())) + " value");
        return;
    }
    switch (column.kind()) {
    case FieldKind::Text:
        if (indicator >= b.elementBytes || indicator == SQL_NO_TOTAL)
            throw DbError("text of field " + column.name() + " is longer than its column");
        scratch.clear();
        appendUtf16AsUtf8(reinterpret_cast<const char16_t*>(value),
                          static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR), scratch);
        column.appendText(scratch);
        return;
    case FieldKind::Decimal: {
        const auto* text = reinterpret_cast<const char*>(value);
        const auto parsed = tenThousandthsFromText(std::string_view(text, std::strlen(text)));
        if (!parsed)
            throw DbError("field " + column.name() + " holds no fixed-point value");
        column.appendInteger(*parsed);
        return;
    }
    case FieldKind::Double: {
        double v;
        std::memcpy(&v, value, sizeof v);
        column.appendDouble(v);
        return;
    }
    case FieldKind::Integer: {
        SQLBIGINT v;
        std::memcpy(&v, value, sizeof v);
        column.appendInteger(v);
        return;
    }
    case FieldKind::DateTime: {
        SQL_TIMESTAMP_STRUCT ts;
        std::memcpy(&ts, value, sizeof ts);
        column.appendInteger(
            toEpochMilliseconds({ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second,
                                 static_cast<int>(ts.fraction / 1'000'000)}));
        return;
    }
    }
}

void readInBlocks(const OdbcHandle& statement, std::vector<Binding>& bindings) {
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
    for (;;) {
        const SQLRETURN rc = SQLFetch(h);
        if (rc == SQL_NO_DATA)
            break;
        statement.check(rc, "fetch");
        for (SQLULEN row = 0; row < fetched; ++row) {
            if (status[row] == SQL_ROW_ERROR)
                throw DbError("fetch: " + statement.diagnostics());
            for (Binding& b : bindings)
                appendValue(b, b.values.data() + row * static_cast<SQLULEN>(b.elementBytes),
                            b.indicators[row], scratch);
        }
    }
}

// SQLGetData of a long text value, piece by piece.
bool getLongText(const OdbcHandle& statement, SQLUSMALLINT index, std::string& out) {
    out.clear();
    SQLWCHAR piece[2048];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc =
            SQLGetData(statement.get(), index, SQL_C_WCHAR, piece, sizeof piece, &indicator);
        if (rc == SQL_NO_DATA)
            return true;
        statement.check(rc, "read long text");
        if (indicator == SQL_NULL_DATA)
            return false;
        const std::size_t room = sizeof piece / sizeof(SQLWCHAR) - 1;
        const std::size_t units =
            indicator == SQL_NO_TOTAL ||
                    static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR) > room
                ? room
                : static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR);
        appendUtf16AsUtf8(reinterpret_cast<const char16_t*>(piece), units, out);
        if (rc == SQL_SUCCESS)
            return true;
    }
}

void readRowByRow(const OdbcHandle& statement, std::vector<Binding>& bindings) {
    std::string scratch;
    std::string longText;
    for (Binding& b : bindings)
        b.values.resize(static_cast<std::size_t>(b.elementBytes));
    for (;;) {
        const SQLRETURN rc = SQLFetch(statement.get());
        if (rc == SQL_NO_DATA)
            break;
        statement.check(rc, "fetch");
        for (Binding& b : bindings) {
            if (b.target->kind() == FieldKind::Text) {
                if (getLongText(statement, b.sourceIndex, longText))
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

ResultSet readOdbcResult(const OdbcHandle& statement, std::span<const FieldDecl> declared) {
    SQLSMALLINT columnCount = 0;
    statement.check(SQLNumResultCols(statement.get(), &columnCount), "count columns");
    if (columnCount <= 0)
        throw DbError("the statement returned no result");
    std::vector<Described> described;
    std::vector<SourceColumn> source;
    for (SQLSMALLINT i = 1; i <= columnCount; ++i) {
        described.push_back(describe(statement, static_cast<SQLUSMALLINT>(i)));
        source.push_back({described.back().name, kindFromOdbcType(described.back().sqlType)});
    }
    const ColumnPlan plan = planColumns(source, declared);
    ResultSet result = plan.makeEmptyResult();

    std::vector<Binding> bindings;
    bool anyLongText = false;
    for (std::size_t i = 0; i < described.size(); ++i) {
        const int target = plan.targetOf[i];
        if (target < 0)
            continue;
        Binding b;
        b.sourceIndex = static_cast<SQLUSMALLINT>(i + 1);
        b.target = &result.column(static_cast<std::size_t>(target));
        b.fromText = source[i].kind == FieldKind::Text && b.target->kind() != FieldKind::Text;
        b.cType = b.fromText ? SQL_C_CHAR : cTypeFor(b.target->kind());
        b.elementBytes =
            b.fromText ? kDecimalTextBytes : elementBytesFor(b.target->kind(), described[i].size);
        anyLongText |= b.target->kind() == FieldKind::Text &&
                       (described[i].size == 0 || described[i].size > kLongTextChars);
        bindings.push_back(std::move(b));
    }
    if (anyLongText)
        readRowByRow(statement, bindings);
    else
        readInBlocks(statement, bindings);
    return result;
}
