#pragma once

#include <string>
#include <string_view>

// What a result column holds. Decimal is fixed point with four decimals, kept as a count of
// ten-thousandths; DateTime is milliseconds from 1970-01-01 00:00 on the civil calendar.
enum class FieldKind { Text, Decimal, Double, Integer, DateTime };

// A field that a window declares for its result: the result must deliver this name with a
// value kind that converts to this one, or the query fails to open.
struct FieldDecl {
    std::string name;
    FieldKind kind;
};

bool isNumericKind(FieldKind kind);

// Whether a column whose values come from the database as `source` may fill a field
// declared as `declared`. Numbers convert among each other; dates only to dates. Text may
// fill any kind, since some drivers describe every expression as text: each value is then
// converted as it is read, and one that is not of the declared kind fails the open.
bool isCompatibleKind(FieldKind source, FieldKind declared);

std::string_view fieldKindName(FieldKind kind);
