#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct UConverter;

// A result set as a SQL Server sends it: COLMETADATA, one ROW token per row, DONE with the
// count. Values are appended in column order; each goes straight into the encoded bytes.
namespace tds {

enum class Type {
    NVarChar,    // nvarchar(n): UTF-16
    VarChar,     // varchar(n) in Chinese_PRC: code page 936 bytes
    NVarCharMax, // nvarchar(max), sent in chunks (PLP)
    VarCharMax,  // varchar(max) in Chinese_PRC, sent in chunks
    TinyInt,
    Int,
    BigInt,
    Decimal, // decimal(precision, scale)
    Money,
    Float,
    DateTime,
};

struct Column {
    std::string name;
    Type type;
    int length = 0; // characters of a (n)varchar(n)
    int precision = 18;
    int scale = 0;
};

class Table {
public:
    explicit Table(std::vector<Column> columns);

    void null();
    void text(std::string_view utf8);
    void integer(std::int64_t value);
    // A decimal as its digits without the point: 12.5 in decimal(p, 2) is 1250.
    void decimal(__int128 unscaled);
    void money(std::int64_t tenThousandths);
    void real(double value);
    void dateTime(std::int64_t epochMilliseconds);

    // The whole answer: COLMETADATA, the rows and the final DONE.
    std::string finish();

private:
    const Column& nextColumn();
    void putVariableText(const Column& column, std::string_view bytes);
    std::string codePage936(std::string_view utf8);

    std::vector<Column> columns_;
    std::string bytes_;
    std::size_t nextColumn_ = 0;
    std::uint64_t rows_ = 0;
    struct ConverterCloser {
        void operator()(UConverter* converter) const;
    };
    std::unique_ptr<UConverter, ConverterCloser> utf8_;
    std::unique_ptr<UConverter, ConverterCloser> gbk_;
};

} // namespace tds
