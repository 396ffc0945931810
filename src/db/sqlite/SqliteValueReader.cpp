#include "SqliteValueReader.h"

#include "result/DbError.h"
#include "result/FixedPoint.h"
#include "result/TextValue.h"

#include <sqlite3.h>

#include <cstdint>
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

} // namespace

void appendSqliteValue(ResultColumn& column, bool declared, sqlite3_stmt* statement, int index) {
    const int type = sqlite3_column_type(statement, index);
    if (type == SQLITE_NULL) {
        column.appendNull();
        return;
    }
    const bool number = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
    if (!number) {
        if (!appendTextValue(column, columnText(statement, index)))
            notOfKind(column, columnText(statement, index));
        return;
    }
    switch (column.kind()) {
    case FieldKind::Text:
        if (declared)
            notOfKind(column, columnText(statement, index));
        column.appendText(columnText(statement, index));
        return;
    case FieldKind::Decimal:
        if (const auto value =
                type == SQLITE_INTEGER
                    ? tenThousandthsFromText(columnText(statement, index))
                    : tenThousandthsFromDouble(sqlite3_column_double(statement, index)))
            column.appendInteger(*value);
        else
            notOfKind(column, columnText(statement, index));
        return;
    case FieldKind::Double:
        column.appendDouble(sqlite3_column_double(statement, index));
        return;
    case FieldKind::Integer:
        if (type != SQLITE_INTEGER)
            notOfKind(column, columnText(statement, index));
        column.appendInteger(sqlite3_column_int64(statement, index));
        return;
    case FieldKind::DateTime:
        notOfKind(column, columnText(statement, index));
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

FieldKind kindFromSqliteValue(int storageClass) {
    switch (storageClass) {
    case SQLITE_INTEGER:
        return FieldKind::Integer;
    case SQLITE_FLOAT:
        return FieldKind::Double;
    default:
        return FieldKind::Text;
    }
}
