#include "TsqlDateDiff.h"

#include "result/DateTime.h"

#include <sqlite3.h>

#include <optional>
#include <string_view>

namespace {

// The day of a date value as days since 1970, its time of day dropped.
std::optional<std::int64_t> dayNumber(sqlite3_value* value) {
    if (sqlite3_value_type(value) != SQLITE_TEXT)
        return std::nullopt;
    const std::string_view text{reinterpret_cast<const char*>(sqlite3_value_text(value)),
                                static_cast<std::size_t>(sqlite3_value_bytes(value))};
    std::optional<CivilDateTime> date = parseIsoDateTime(text);
    if (!date)
        return std::nullopt;
    const std::int64_t milliseconds = toEpochMilliseconds({date->year, date->month, date->day});
    // Days before 1970 round down too.
    return milliseconds >= 0 ? milliseconds / kMillisecondsPerDay
                             : -((-milliseconds + kMillisecondsPerDay - 1) / kMillisecondsPerDay);
}

void dateDiffFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    const std::string_view unit{reinterpret_cast<const char*>(sqlite3_value_text(arguments[0])),
                                static_cast<std::size_t>(sqlite3_value_bytes(arguments[0]))};
    if (unit != "day" && unit != "dd" && unit != "d") {
        sqlite3_result_error(context, "DATEDIFF counts days only", -1);
        return;
    }
    const std::optional<std::int64_t> start = dayNumber(arguments[1]);
    const std::optional<std::int64_t> end = dayNumber(arguments[2]);
    if (start && end)
        sqlite3_result_int64(context, *end - *start);
    else
        sqlite3_result_null(context);
}

} // namespace

int useTsqlDateDiff(sqlite3* db) {
    return sqlite3_create_function(db, "datediff", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   dateDiffFunction, nullptr, nullptr);
}
