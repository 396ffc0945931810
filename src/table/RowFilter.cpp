#include "RowFilter.h"

#include "db/WorkControl.h"
#include "result/ResultSet.h"

#include <QDateTime>

#include <unordered_map>

namespace {

constexpr std::size_t kRowsBetweenChecks = 1 << 16;

// Whether a row's value passes one filter. Texts are matched as the cell shows them, worked
// out once per distinct stored value, so that a million rows of a few thousand names cost a
// lookup each.
class FilterTest {
public:
    FilterTest(const ColumnFilter& filter, const ResultColumn& column, const CellText& cellText)
        : filter_(filter), column_(column), cellText_(cellText) {}

    bool passes(std::size_t row) {
        if (filter_.kind == ColumnFilter::Kind::Range) {
            if (column_.isNull(row))
                return false;
            const double value = comparableValue(column_, row);
            if (filter_.low && (filter_.lowStrict ? value <= *filter_.low : value < *filter_.low))
                return false;
            return !filter_.high ||
                   (filter_.highStrict ? value < *filter_.high : value <= *filter_.high);
        }
        if (column_.isNull(row)) {
            if (!nullVerdict_)
                nullVerdict_ = verdict(QString());
            return *nullVerdict_;
        }
        const auto known = verdicts_.find(column_.bits(row));
        if (known != verdicts_.end())
            return known->second;
        return verdicts_.emplace(column_.bits(row), verdict(cellText_(column_, row))).first->second;
    }

private:
    bool verdict(const QString& shown) const {
        return (filter_.kind == ColumnFilter::Kind::In) == filter_.texts.contains(shown);
    }

    const ColumnFilter& filter_;
    const ResultColumn& column_;
    const CellText& cellText_;
    std::unordered_map<std::uint64_t, bool> verdicts_;
    std::optional<bool> nullVerdict_;
};

QString listed(const QStringList& texts) {
    QStringList shown;
    for (const QString& text : texts)
        shown << (text.isEmpty() ? kEmptyValue : text);
    return shown.join("、");
}

} // namespace

QString ColumnFilter::text() const {
    switch (kind) {
    case Kind::In:
        return caption + "：" + listed(texts);
    case Kind::NotIn:
        return caption + " ≠ " + listed(texts);
    case Kind::Range:
        break;
    }
    if (low && high)
        return QString("%1 %2 %3 %4 %5")
            .arg(rangeBoundText(fieldKind, *low), lowStrict ? "<" : "≤", caption,
                 highStrict ? "<" : "≤", rangeBoundText(fieldKind, *high));
    if (low)
        return QString("%1 %2 %3")
            .arg(caption, lowStrict ? ">" : "≥", rangeBoundText(fieldKind, *low));
    if (high)
        return QString("%1 %2 %3")
            .arg(caption, highStrict ? "<" : "≤", rangeBoundText(fieldKind, *high));
    return caption;
}

QString rangeBoundText(FieldKind kind, double value) {
    if (kind == FieldKind::DateTime) // the day (civil times are counted like UTC)
        return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(value), Qt::UTC)
            .date()
            .toString("yyyy-MM-dd");
    return CellText().real(value);
}

double comparableValue(const ResultColumn& column, std::size_t row) {
    return column.kind() == FieldKind::DateTime ? static_cast<double>(column.integer(row))
                                                : column.asFloat(row);
}

void RowFilter::set(ColumnFilter filter) {
    for (ColumnFilter& existing : filters_)
        if (existing.field == filter.field) {
            existing = std::move(filter);
            return;
        }
    filters_.push_back(std::move(filter));
}

void RowFilter::remove(const std::string& field) {
    std::erase_if(filters_, [&](const ColumnFilter& filter) { return filter.field == field; });
}

const ColumnFilter* RowFilter::find(const std::string& field) const {
    for (const ColumnFilter& filter : filters_)
        if (filter.field == field)
            return &filter;
    return nullptr;
}

std::vector<std::uint8_t> RowFilter::passing(const ResultSet& rows, const CellText& cellText,
                                             WorkControl& control,
                                             const std::string& except) const {
    std::vector<FilterTest> tests;
    for (const ColumnFilter& filter : filters_)
        if (filter.field != except)
            if (const auto index = rows.findColumn(filter.field))
                tests.emplace_back(filter, rows.column(*index), cellText);
    if (tests.empty())
        return {};
    std::vector<std::uint8_t> shown(rows.rowCount(), 1);
    for (std::size_t row = 0; row < shown.size(); ++row) {
        if (row % kRowsBetweenChecks == 0) {
            control.throwIfCancelled();
            control.setDone(row);
        }
        for (FilterTest& test : tests)
            if (!test.passes(row)) {
                shown[row] = 0;
                break;
            }
    }
    return shown;
}

QString RowFilter::describe() const {
    QStringList parts;
    for (const ColumnFilter& filter : filters_)
        parts << filter.text();
    return parts.isEmpty() ? QString() : "筛选：" + parts.join("；");
}
