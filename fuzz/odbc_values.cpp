// Values as a driver may put them into the reader's buffers: any bytes of any length, any
// length indicator, NULLs, text that is no valid UTF-16, numbers and dates that are none. A
// value is read or refused with DbError, nothing is read beyond its room (AddressSanitizer
// watches the room's end), and what is read is of the column's kind.
#include "db/odbc/OdbcValue.h"
#include "result/DbError.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 10)
        return 0;
    const auto kind = static_cast<FieldKind>(data[0] % 5);
    const bool fromText = data[1] & 1;
    SQLLEN indicator = 0;
    std::memcpy(&indicator, data + 2, sizeof(std::int32_t)); // as wide as drivers make it
    indicator = static_cast<std::int32_t>(indicator);
    data += 6;
    size -= 6;
    // The room the reader binds for the kind, filled with the rest of the input.
    const std::size_t room = fromText || kind == FieldKind::Decimal ? 48
                             : kind == FieldKind::Text              ? size & ~std::size_t{1}
                             : kind == FieldKind::DateTime          ? sizeof(SQL_TIMESTAMP_STRUCT)
                                                                    : 8;
    std::vector<unsigned char> element(room);
    std::memcpy(element.data(), data, std::min(room, size));
    ResultColumn column("值", kind);
    std::string scratch;
    try {
        appendOdbcValue(column, {element.data(), static_cast<SQLLEN>(room), indicator, fromText},
                        scratch);
    } catch (const DbError&) {
        return 0;
    }
    if (column.size() != 1)
        std::abort();
    return 0;
}
