#include "TextValue.h"

#include "DateTime.h"
#include "FixedPoint.h"

#include <charconv>
#include <cstdlib>
#include <string>

bool appendTextValue(ResultColumn& column, std::string_view text) {
    switch (column.kind()) {
    case FieldKind::Text:
        column.appendText(text);
        return true;
    case FieldKind::Decimal:
        if (const auto value = tenThousandthsFromText(text)) {
            column.appendInteger(*value);
            return true;
        }
        return false;
    case FieldKind::Double: {
        const std::string copy(text);
        char* end = nullptr;
        const double value = std::strtod(copy.c_str(), &end);
        if (copy.empty() || end != copy.c_str() + copy.size())
            return false;
        column.appendDouble(value);
        return true;
    }
    case FieldKind::Integer: {
        long long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size())
            return false;
        column.appendInteger(value);
        return true;
    }
    case FieldKind::DateTime:
        if (const auto value = parseIsoDateTime(text)) {
            column.appendInteger(toEpochMilliseconds(*value));
            return true;
        }
        return false;
    }
    return false;
}
