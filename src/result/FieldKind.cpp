#include "FieldKind.h"

bool isNumericKind(FieldKind kind) {
    return kind == FieldKind::Decimal || kind == FieldKind::Double || kind == FieldKind::Integer;
}

bool isCompatibleKind(FieldKind source, FieldKind declared) {
    if (source == FieldKind::Text)
        return true;
    if (isNumericKind(declared))
        return isNumericKind(source);
    return source == declared;
}

std::string_view fieldKindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text:
        return "text";
    case FieldKind::Decimal:
        return "decimal";
    case FieldKind::Double:
        return "double";
    case FieldKind::Integer:
        return "integer";
    case FieldKind::DateTime:
        return "date and time";
    }
    return "unknown";
}
