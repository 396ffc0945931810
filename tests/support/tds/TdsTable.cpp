#include "TdsTable.h"

#include "TdsBytes.h"
#include "TdsTokens.h"

#include <unicode/ucnv.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace tds {

namespace {

constexpr unsigned kColMetadata = 0x81;
constexpr unsigned kRow = 0xD1;
constexpr std::uint16_t kMaxLength = 0xFFFF;
constexpr std::uint64_t kPlpNull = ~std::uint64_t{0};
constexpr std::int64_t kDaysFrom1900To1970 = 25'567;
constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

bool isText(Type type) {
    return type == Type::NVarChar || type == Type::VarChar || type == Type::NVarCharMax ||
           type == Type::VarCharMax;
}

bool isMax(Type type) {
    return type == Type::NVarCharMax || type == Type::VarCharMax;
}

bool isWide(Type type) {
    return type == Type::NVarChar || type == Type::NVarCharMax;
}

int decimalBytes(int precision) {
    return precision <= 9 ? 5 : precision <= 19 ? 9 : precision <= 28 ? 13 : 17;
}

int intBytes(Type type) {
    return type == Type::TinyInt ? 1 : type == Type::Int ? 4 : 8;
}

void putTypeInfo(std::string& out, const Column& c) {
    switch (c.type) {
    case Type::NVarChar:
    case Type::VarChar:
    case Type::NVarCharMax:
    case Type::VarCharMax:
        putU8(out, isWide(c.type) ? 0xE7 : 0xA7);
        putLe<std::uint16_t>(out, isMax(c.type)    ? kMaxLength
                                  : isWide(c.type) ? static_cast<std::uint16_t>(2 * c.length)
                                                   : static_cast<std::uint16_t>(c.length));
        out.append(kChinesePrcCollation, sizeof kChinesePrcCollation);
        return;
    case Type::TinyInt:
    case Type::Int:
    case Type::BigInt:
        putU8(out, 0x26);
        putU8(out, static_cast<unsigned>(intBytes(c.type)));
        return;
    case Type::Decimal:
        putU8(out, 0x6A);
        putU8(out, static_cast<unsigned>(decimalBytes(c.precision)));
        putU8(out, static_cast<unsigned>(c.precision));
        putU8(out, static_cast<unsigned>(c.scale));
        return;
    case Type::Money:
        putU8(out, 0x6E);
        putU8(out, 8);
        return;
    case Type::Float:
        putU8(out, 0x6D);
        putU8(out, 8);
        return;
    case Type::DateTime:
        putU8(out, 0x6F);
        putU8(out, 8);
        return;
    }
}

} // namespace

Table::Table(std::vector<Column> columns) : columns_(std::move(columns)) {
    putU8(bytes_, kColMetadata);
    putLe<std::uint16_t>(bytes_, static_cast<std::uint16_t>(columns_.size()));
    for (const Column& c : columns_) {
        putLe<std::uint32_t>(bytes_, 0);      // user type
        putLe<std::uint16_t>(bytes_, 0x0001); // nullable
        putTypeInfo(bytes_, c);
        putBVarchar(bytes_, c.name);
    }
    UErrorCode status = U_ZERO_ERROR;
    utf8_.reset(ucnv_open("UTF-8", &status));
    gbk_.reset(ucnv_open("windows-936", &status));
    if (U_FAILURE(status))
        throw std::runtime_error("no code page 936 converter");
    // A character that the column's code page lacks is stored as "?", as SQL Server does.
    ucnv_setSubstChars(gbk_.get(), "?", 1, &status);
}

void Table::ConverterCloser::operator()(UConverter* converter) const {
    ucnv_close(converter);
}

const Column& Table::nextColumn() {
    if (nextColumn_ == 0) {
        putU8(bytes_, kRow);
        ++rows_;
    }
    const Column& column = columns_[nextColumn_];
    nextColumn_ = (nextColumn_ + 1) % columns_.size();
    return column;
}

void Table::null() {
    const Column& c = nextColumn();
    if (isMax(c.type))
        putLe<std::uint64_t>(bytes_, kPlpNull);
    else if (isText(c.type))
        putLe<std::uint16_t>(bytes_, kMaxLength);
    else
        putU8(bytes_, 0);
}

std::string Table::codePage936(std::string_view utf8) {
    std::string out(utf8.size() + 2, '\0');
    char* target = out.data();
    const char* source = utf8.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_convertEx(gbk_.get(), utf8_.get(), &target, out.data() + out.size(), &source,
                   utf8.data() + utf8.size(), nullptr, nullptr, nullptr, nullptr, true, true,
                   &status);
    if (U_FAILURE(status))
        throw std::runtime_error("code page 936 conversion failed");
    out.resize(static_cast<std::size_t>(target - out.data()));
    return out;
}

void Table::putVariableText(const Column& c, std::string_view bytes) {
    if (!isMax(c.type)) {
        const std::size_t room = isWide(c.type) ? 2 * c.length : c.length;
        if (bytes.size() > room)
            throw std::runtime_error("text longer than column " + c.name);
        putLe<std::uint16_t>(bytes_, static_cast<std::uint16_t>(bytes.size()));
        bytes_ += bytes;
        return;
    }
    // One chunk, then the terminating empty chunk.
    putLe<std::uint64_t>(bytes_, bytes.size());
    if (!bytes.empty()) {
        putLe<std::uint32_t>(bytes_, static_cast<std::uint32_t>(bytes.size()));
        bytes_ += bytes;
    }
    putLe<std::uint32_t>(bytes_, 0);
}

void Table::text(std::string_view utf8) {
    const Column& c = nextColumn();
    if (!isText(c.type))
        throw std::runtime_error("text for column " + c.name);
    putVariableText(c, isWide(c.type) ? ucs2(utf8) : codePage936(utf8));
}

void Table::integer(std::int64_t value) {
    const Column& c = nextColumn();
    if (c.type == Type::TinyInt || c.type == Type::Int || c.type == Type::BigInt) {
        putU8(bytes_, static_cast<unsigned>(intBytes(c.type)));
        for (int i = 0; i < intBytes(c.type); ++i)
            putU8(bytes_, static_cast<unsigned>((static_cast<std::uint64_t>(value) >> (8 * i))));
        return;
    }
    throw std::runtime_error("integer for column " + c.name);
}

void Table::decimal(__int128 unscaled) {
    const Column& c = nextColumn();
    if (c.type != Type::Decimal)
        throw std::runtime_error("decimal for column " + c.name);
    const int size = decimalBytes(c.precision);
    putU8(bytes_, static_cast<unsigned>(size));
    putU8(bytes_, unscaled < 0 ? 0 : 1);
    auto magnitude = static_cast<unsigned __int128>(unscaled < 0 ? -unscaled : unscaled);
    for (int i = 1; i < size; ++i, magnitude >>= 8)
        putU8(bytes_, static_cast<unsigned>(magnitude & 0xFF));
}

void Table::money(std::int64_t tenThousandths) {
    const Column& c = nextColumn();
    if (c.type != Type::Money)
        throw std::runtime_error("money for column " + c.name);
    putU8(bytes_, 8);
    const auto bits = static_cast<std::uint64_t>(tenThousandths);
    putLe<std::uint32_t>(bytes_, static_cast<std::uint32_t>(bits >> 32));
    putLe<std::uint32_t>(bytes_, static_cast<std::uint32_t>(bits));
}

void Table::real(double value) {
    const Column& c = nextColumn();
    if (c.type != Type::Float)
        throw std::runtime_error("float for column " + c.name);
    putU8(bytes_, 8);
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putLe<std::uint64_t>(bytes_, bits);
}

void Table::dateTime(std::int64_t epochMilliseconds) {
    const Column& c = nextColumn();
    if (c.type != Type::DateTime)
        throw std::runtime_error("datetime for column " + c.name);
    std::int64_t days = epochMilliseconds / kMillisecondsPerDay;
    std::int64_t ofDay = epochMilliseconds % kMillisecondsPerDay;
    if (ofDay < 0) {
        ofDay += kMillisecondsPerDay;
        --days;
    }
    putU8(bytes_, 8);
    putLe<std::int32_t>(bytes_, static_cast<std::int32_t>(days + kDaysFrom1900To1970));
    putLe<std::uint32_t>(bytes_, static_cast<std::uint32_t>(std::llround(ofDay * 0.3)));
}

std::string Table::finish() {
    if (nextColumn_ != 0)
        throw std::runtime_error("a row is not complete");
    bytes_ += doneToken(kDoneCount, rows_);
    return std::move(bytes_);
}

} // namespace tds
