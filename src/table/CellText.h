#pragma once

#include "result/ResultColumn.h"

#include <QLocale>
#include <QString>

#include <string>

// The text a cell shows, in the general formats, for the grid, its footer and the export
// alike: texts as they are; fixed-point values with at most four decimals and doubles with at
// most fifteen significant digits, trailing zeros and a needless decimal point dropped, no
// grouping, the locale's decimal separator; dates in the locale's short date format (yyyy/M/d
// in the C locale), followed by the time only when there is a time of day. A null shows as
// the empty text.
class CellText {
public:
    explicit CellText(const QLocale& locale = QLocale());

    QString operator()(const ResultColumn& column, std::size_t row) const;

    QString decimal(std::int64_t tenThousandths) const;
    QString real(double value, int significantDigits = 15) const;
    // The same texts in ASCII with "." for the decimal point, for writers that make bytes;
    // decimalPoint() is what the locale writes for it.
    static std::string decimalAscii(std::int64_t tenThousandths);
    // Writes decimalAscii's text at `out`, which has room for kDecimalAsciiSize characters;
    // returns its end.
    static constexpr std::size_t kDecimalAsciiSize = 26;
    static char* writeDecimalAscii(std::int64_t tenThousandths, char* out);
    static std::string realAscii(double value, int significantDigits = 15);
    const QString& decimalPoint() const { return decimalPoint_; }
    QString dateTime(std::int64_t epochMilliseconds) const;
    // A sum footer's text for a total of ten-thousandths of a field of the given kind:
    // doubles with fifteen significant digits, fixed point with four decimals, integers
    // plain; "0" for a field of any other kind.
    QString sumText(FieldKind kind, std::int64_t total) const;
    // A count with its thousands grouped, "30,000", as counts of rows are read out.
    static QString groupedCount(std::uint64_t count);

private:
    QString withSeparator(std::string text) const;

    QLocale locale_;
    QString decimalPoint_;
    QString dateFormat_;
    QString timeFormat_;
};
