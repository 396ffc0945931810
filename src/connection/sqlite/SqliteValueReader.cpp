#include "SqliteValueReader.h"

#include "../DateTime.h"
#include "../DbError.h"
#include "../FixedPoint.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace {

std::string_view columnText(sqlite3_stmt* statement, int index) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement, index))};
}

[[noreturn]] void notOfKind(const ResultColumn& column, std::string_view value) {
    throw DbError("field " + column.name() + " holds \"" + std::string(value.substr(0, 40)) +
                  "\", which is not " + std::string(fieldKindName(column.kind())));
}

void appendDecimal(ResultColumn& column, sqlite3_stmt* statement, int index, int type) {
    std::optional<std::int64_t> value;
    if (type == SQLITE_INTEGER) {
        const sqlite3_int64 whole = sqlite3_column_int64(statement, index);
        if (whole <= INT64_MAX / kTenThousand && whole >= INT64_MIN / kTenThousand)
            value = whole * kTenThousand;
    } else if (type == SQLITE_FLOAT) {
        value = tenThousandthsFromDouble(sqlite3_column_double(statement, index));
    } else {
        value = tenThousandthsFromText(columnText(statement, index));
    }
    if (!value)
        notOfKind(column, columnText(statement, index));
    column.appendInteger(*value);
}

} // namespace

void appendSqliteValue(ResultColumn& column, bool declared, sqlite3_stmt* statement, int index) {
    const int type = sqlite3_column_type(statement, index);
    if (type == SQLITE_NULL) {
        column.appendNull();
        return;
    }
    const bool number = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
    switch (column.kind()) {
    case FieldKind::Text:
        if (number && declared)
            notOfKind(column, columnText(statement, index));
        column.appendText(columnText(statement, index));
        return;
    case FieldKind::Decimal:
        appendDecimal(column, statement, index, type);
        return;
    case FieldKind::Double:
        if (!number)
            notOfKind(column, columnText(statement, index));
        column.appendDouble(sqlite3_column_double(statement, index));
        return;
    case FieldKind::Integer:
        if (type != SQLITE_INTEGER)
            notOfKind(column, columnText(statement, index));
        column.appendInteger(sqlite3_column_int64(statement, index));
        return;
    case FieldKind::DateTime:
        if (number)
            notOfKind(column, columnText(statement, index));
        if (const auto value = parseIsoDateTime(columnText(statement, index)))
            column.appendInteger(toEpochMilliseconds(*value));
        else
            notOfKind(column, columnText(statement, index));
        return;
    }
}

FieldKind kindFromSqliteDeclType(const char* declType) {
    if (!declType)
        return FieldKind::Text;
    std::string type(declType);
    for (char& c : type)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (type.find("INT") != std::string::npos || type == "BIT")
        return FieldKind::Integer;
    if (type.find("DATE") != std::string::npos || type.find("TIME") != std::string::npos)
        return FieldKind::DateTime;
    if (type.find("REAL") != std::string::npos || type.find("FLOA") != std::string::npos ||
        type.find("DOUB") != std::string::npos)
        return FieldKind::Double;
    if (type.find("DEC") != std::string::npos || type.find("NUM") != std::string::npos ||
        type.find("MONEY") != std::string::npos)
        return FieldKind::Decimal;
    return FieldKind::Text;
}
