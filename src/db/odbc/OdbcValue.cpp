#include "OdbcValue.h"

#include "OdbcText.h"
#include "result/DateTime.h"
#include "result/DbError.h"
#include "result/FixedPoint.h"
#include "result/TextValue.h"

#include <cstring>

namespace {

[[noreturn]] void holdsNo(const ResultColumn& column, std::string_view what) {
    throw DbError("field " + column.name() + " holds no " + std::string(what) + " value");
}

// The bytes of a narrow text value, its terminating zero within the room.
std::string_view narrowText(const ResultColumn& column, const OdbcBufferedValue& value,
                            std::string_view what) {
    if (value.indicator < 0 || value.indicator >= value.elementBytes)
        holdsNo(column, what);
    const auto* text = reinterpret_cast<const char*>(value.element);
    return std::string_view(text, strnlen(text, static_cast<std::size_t>(value.indicator)));
}

} // namespace

void appendOdbcValue(ResultColumn& column, const OdbcBufferedValue& value, std::string& scratch) {
    if (value.indicator == SQL_NULL_DATA) {
        column.appendNull();
        return;
    }
    if (value.fromText) {
        if (!appendTextValue(column, narrowText(column, value, fieldKindName(column.kind()))))
            holdsNo(column, fieldKindName(column.kind()));
        return;
    }
    switch (column.kind()) {
    case FieldKind::Text:
        if (value.indicator < 0 || value.indicator > value.elementBytes - kOdbcTextUnitBytes)
            throw DbError("field " + column.name() + " was cut short by the driver");
        scratch.clear();
        appendOdbcText(value.element, static_cast<std::size_t>(value.indicator), scratch);
        column.appendText(scratch);
        return;
    case FieldKind::Decimal: {
        const auto parsed = tenThousandthsFromText(narrowText(column, value, "fixed-point"));
        if (!parsed)
            holdsNo(column, "fixed-point");
        column.appendInteger(*parsed);
        return;
    }
    case FieldKind::Double: {
        double v;
        std::memcpy(&v, value.element, sizeof v);
        column.appendDouble(v);
        return;
    }
    case FieldKind::Integer: {
        SQLBIGINT v;
        std::memcpy(&v, value.element, sizeof v);
        column.appendInteger(v);
        return;
    }
    case FieldKind::DateTime: {
        SQL_TIMESTAMP_STRUCT ts;
        std::memcpy(&ts, value.element, sizeof ts);
        const CivilDateTime time{ts.year,
                                 ts.month,
                                 ts.day,
                                 ts.hour,
                                 ts.minute,
                                 ts.second,
                                 static_cast<int>(ts.fraction / 1'000'000)};
        if (!isCalendarTime(time))
            holdsNo(column, "date and time");
        column.appendInteger(toEpochMilliseconds(time));
        return;
    }
    }
}
