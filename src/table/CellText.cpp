#include "CellText.h"

#include "result/DateTime.h"

#include <QDateTime>

#include <charconv>
#include <cmath>
#include <string>

namespace {

void dropTrailingZeros(std::string& digits) {
    if (digits.find('.') == std::string::npos)
        return;
    while (digits.back() == '0')
        digits.pop_back();
    if (digits.back() == '.')
        digits.pop_back();
}

} // namespace

// Without a locale of its own (the C locale of servers and minimal installations), a date is
// written the Chinese short way, which fits the grid's date columns: "30 Jan 2026" does not.
CellText::CellText(const QLocale& locale)
    : locale_(locale), decimalPoint_(locale.decimalPoint()),
      dateFormat_(locale.language() == QLocale::C ? QStringLiteral("yyyy/M/d")
                                                  : locale.dateFormat(QLocale::ShortFormat)),
      timeFormat_(locale.timeFormat(QLocale::LongFormat)) {
    // A time of day has no zone to show.
    timeFormat_.remove(QLatin1Char('t'));
    timeFormat_ = timeFormat_.trimmed();
}

QString CellText::operator()(const ResultColumn& column, std::size_t row) const {
    if (column.isNull(row))
        return {};
    switch (column.kind()) {
    case FieldKind::Text:
        return QString::fromUtf8(column.text(row));
    case FieldKind::Decimal:
        return decimal(column.integer(row));
    case FieldKind::Double:
        return real(column.real(row));
    case FieldKind::Integer:
        return QString::number(column.integer(row));
    case FieldKind::DateTime:
        return dateTime(column.integer(row));
    }
    return {};
}

QString CellText::withSeparator(std::string text) const {
    QString out = QString::fromStdString(text);
    if (decimalPoint_ != QLatin1String("."))
        out.replace(QLatin1Char('.'), decimalPoint_);
    return out;
}

QString CellText::decimal(std::int64_t tenThousandths) const {
    return withSeparator(decimalAscii(tenThousandths));
}

QString CellText::real(double value, int significantDigits) const {
    if (!std::isfinite(value))
        return QString::number(value);
    return withSeparator(realAscii(value, significantDigits));
}

char* CellText::writeDecimalAscii(std::int64_t tenThousandths, char* out) {
    // Unsigned, so that the magnitude of INT64_MIN fits.
    const bool negative = tenThousandths < 0;
    const auto magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                    : static_cast<std::uint64_t>(tenThousandths);
    if (negative)
        *out++ = '-';
    out = std::to_chars(out, out + 20, magnitude / 10000).ptr;
    const auto fraction = static_cast<unsigned>(magnitude % 10000);
    if (fraction == 0)
        return out;
    // Four digits by constant divisors (multiplications), trailing zeros then dropped.
    out[0] = '.';
    out[1] = static_cast<char>('0' + fraction / 1000);
    out[2] = static_cast<char>('0' + fraction / 100 % 10);
    out[3] = static_cast<char>('0' + fraction / 10 % 10);
    out[4] = static_cast<char>('0' + fraction % 10);
    out += 5;
    while (out[-1] == '0')
        --out;
    return out;
}

std::string CellText::decimalAscii(std::int64_t tenThousandths) {
    char buffer[kDecimalAsciiSize];
    return std::string(buffer, writeDecimalAscii(tenThousandths, buffer));
}

std::string CellText::realAscii(double value, int significantDigits) {
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? "0" : QString::number(value).toStdString();
    // The value rounded to its significant digits, as d.ddd…e±x.
    char buffer[64];
    const auto scientific = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::scientific, significantDigits - 1);
    const std::string text(buffer, scientific.ptr);
    const std::size_t e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    if (exponent >= significantDigits || std::fabs(value) < 0.00001) {
        std::string mantissa = text.substr(0, e);
        dropTrailingZeros(mantissa);
        return mantissa + "E" + std::to_string(exponent);
    }
    const int decimals = std::max(0, significantDigits - 1 - exponent);
    const auto fixed =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string digits(buffer, fixed.ptr);
    dropTrailingZeros(digits);
    return digits;
}

QString CellText::dateTime(std::int64_t epochMilliseconds) const {
    const CivilDateTime v = fromEpochMilliseconds(epochMilliseconds);
    const QString date = QDate(v.year, v.month, v.day).toString(dateFormat_);
    if (v.hour == 0 && v.minute == 0 && v.second == 0 && v.millisecond == 0)
        return date;
    return date + " " + QTime(v.hour, v.minute, v.second, v.millisecond).toString(timeFormat_);
}

QString CellText::groupedCount(std::uint64_t count) {
    QLocale c(QLocale::C);
    c.setNumberOptions(QLocale::DefaultNumberOptions); // C omits the group separator otherwise
    return c.toString(static_cast<qulonglong>(count));
}

QString CellText::sumText(FieldKind kind, std::int64_t total) const {
    switch (kind) {
    case FieldKind::Double:
        return real(static_cast<double>(total) / 10000.0);
    case FieldKind::Decimal:
        return decimal(total);
    case FieldKind::Integer:
        return QString::number(total / 10000);
    case FieldKind::Text:
    case FieldKind::DateTime:
        break;
    }
    return QStringLiteral("0");
}
