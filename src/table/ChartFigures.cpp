#include "ChartFigures.h"

#include "FooterSums.h"
#include "TableSnapshot.h"
#include "db/WorkControl.h"
#include "result/DateTime.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace {

constexpr std::size_t kRowsBetweenStopChecks = 65536;
const QString kNoValue = "（空）";

// A group as it is added up: its key and the first row that gave it.
template <typename Key> struct Grouped {
    Key key;
    std::size_t firstRow;
    FigureGroup figures;
};

// Adds each row's values into the group its key gives, groups made as keys are met.
template <typename Key, typename KeyOfRow>
std::vector<Grouped<Key>> grouped(const TableSnapshot& table,
                                  const std::vector<std::size_t>& values,
                                  const WorkControl& control, const KeyOfRow& keyOfRow) {
    const ResultSet& result = table.result();
    std::unordered_map<Key, std::size_t> groupOf;
    std::vector<Grouped<Key>> groups;
    for (std::size_t row = 0; row < result.rowCount(); ++row) {
        if (row % kRowsBetweenStopChecks == 0)
            control.throwIfCancelled();
        const Key key = keyOfRow(row);
        const auto [found, added] = groupOf.try_emplace(key, groups.size());
        if (added)
            groups.push_back({key, row, {{}, std::vector<std::int64_t>(values.size(), 0)}});
        std::vector<std::int64_t>& totals = groups[found->second].figures.totals;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const ResultColumn& column = result.column(values[i]);
            if (!column.isNull(row))
                totals[i] = FooterSums::added(totals[i], column.kind(), column.bits(row));
        }
    }
    return groups;
}

} // namespace

std::vector<FigureGroup> totalsByText(const TableSnapshot& table, std::size_t key,
                                      const std::vector<std::size_t>& values,
                                      const WorkControl& control, std::optional<std::size_t> name,
                                      bool nameAlone) {
    if (!table.isOpen())
        return {};
    const ResultColumn& keys = table.result().column(key);
    // Every row is visited; the grid's order makes no difference to the totals.
    auto groups = grouped<std::string_view>(table, values, control, [&](std::size_t row) {
        return keys.isNull(row) ? std::string_view() : keys.text(row);
    });
    std::sort(groups.begin(), groups.end(),
              [](const auto& a, const auto& b) { return a.key < b.key; });
    std::vector<FigureGroup> figures;
    for (auto& [text, firstRow, group] : groups) {
        group.label = text.empty() ? kNoValue : QString::fromUtf8(text.data(), text.size());
        if (name && !text.empty() && !table.result().column(*name).isNull(firstRow)) {
            const std::string_view named = table.result().column(*name).text(firstRow);
            const QString nameText = QString::fromUtf8(named.data(), named.size());
            group.label = nameAlone ? nameText : group.label + ' ' + nameText;
        }
        figures.push_back(std::move(group));
    }
    return figures;
}

std::vector<FigureGroup> totalsByMonth(const TableSnapshot& table, std::size_t date,
                                       const std::vector<std::size_t>& values,
                                       const WorkControl& control) {
    if (!table.isOpen())
        return {};
    const ResultColumn& dates = table.result().column(date);
    constexpr int kNoDate = 1 << 30; // after every month
    auto groups = grouped<int>(table, values, control, [&](std::size_t row) {
        if (dates.isNull(row))
            return kNoDate;
        const CivilDateTime day = fromEpochMilliseconds(dates.integer(row));
        return day.year * 12 + day.month - 1;
    });
    std::sort(groups.begin(), groups.end(),
              [](const auto& a, const auto& b) { return a.key < b.key; });
    std::vector<FigureGroup> figures;
    for (auto& [month, firstRow, group] : groups) {
        group.label = month == kNoDate
                          ? kNoValue
                          : QString("%1-%2").arg(month / 12).arg(month % 12 + 1, 2, 10, QChar('0'));
        figures.push_back(std::move(group));
    }
    return figures;
}

std::vector<FigureGroup> valuesByRow(const TableSnapshot& table, std::size_t date,
                                     const std::vector<std::size_t>& values,
                                     const WorkControl& control, const QString& firstDay,
                                     const QString& lastDay) {
    if (!table.isOpen())
        return {};
    const ResultSet& result = table.result();
    const ResultColumn& dates = result.column(date);
    std::vector<FigureGroup> rows;
    rows.reserve(result.rowCount());
    QString day = firstDay;
    for (std::size_t row = 0; row < result.rowCount(); ++row) {
        if (row % kRowsBetweenStopChecks == 0)
            control.throwIfCancelled();
        if (!dates.isNull(row)) {
            const CivilDateTime booked = fromEpochMilliseconds(dates.integer(row));
            day = QString("%1-%2-%3")
                      .arg(booked.year, 4, 10, QChar('0'))
                      .arg(booked.month, 2, 10, QChar('0'))
                      .arg(booked.day, 2, 10, QChar('0'));
        } else if (row + 1 == result.rowCount() && row > 0) {
            day = lastDay;
        }
        FigureGroup figures{day, std::vector<std::int64_t>(values.size(), 0)};
        for (std::size_t i = 0; i < values.size(); ++i) {
            const ResultColumn& column = result.column(values[i]);
            if (!column.isNull(row))
                figures.totals[i] = FooterSums::added(0, column.kind(), column.bits(row));
        }
        rows.push_back(std::move(figures));
    }
    return rows;
}

std::vector<FigureGroup> largestGroups(std::vector<FigureGroup> groups, std::size_t count) {
    const auto larger = [](const FigureGroup& a, const FigureGroup& b) {
        return a.totals.front() > b.totals.front();
    };
    count = std::min(count, groups.size());
    std::partial_sort(groups.begin(), groups.begin() + static_cast<std::ptrdiff_t>(count),
                      groups.end(), larger);
    groups.resize(count);
    return groups;
}

std::vector<FigureGroup> chartFigures(const ChartRequest& request, const TableSnapshot& table,
                                      const WorkControl& control) {
    if (!table.isOpen())
        return {};
    const ResultSet& result = table.result();
    const std::optional<std::size_t> key = result.findColumn(request.key);
    std::vector<std::size_t> values;
    for (const std::string& value : request.values)
        if (const auto column = result.findColumn(value))
            values.push_back(*column);
    std::optional<std::size_t> name;
    if (!request.name.empty() && !(name = result.findColumn(request.name)))
        return {};
    if (!key || values.size() != request.values.size())
        return {};
    std::vector<FigureGroup> groups;
    switch (request.groups) {
    case ChartRequest::Groups::ByText:
        groups = totalsByText(table, *key, values, control, name, request.labelIsName);
        break;
    case ChartRequest::Groups::ByMonth:
        groups = totalsByMonth(table, *key, values, control);
        break;
    case ChartRequest::Groups::EveryRow:
        groups = valuesByRow(table, *key, values, control, request.firstDay, request.lastDay);
        break;
    }
    return request.largest > 0 ? largestGroups(std::move(groups), request.largest) : groups;
}
