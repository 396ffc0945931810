#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TableSnapshot;
class WorkControl;

// One bar, or one point per line, of a chart: its label and the totals of the charted columns,
// each a count of ten-thousandths added up as the footer sums are, so that a chart's groups add
// up to the grid's footer exactly.
struct FigureGroup {
    QString label;
    std::vector<std::int64_t> totals;

    bool operator==(const FigureGroup&) const = default;
};

// The totals of `values` per distinct text of the `key` column, in the order of the texts;
// a group's label is its text, followed by the `name` column's text of its first row when one
// is given, or that name alone when `nameAlone`; empty and null texts make one group labelled
// "（空）". On any thread, from a snapshot; throws WorkCancelled once `control` asks it to stop.
std::vector<FigureGroup> totalsByText(const TableSnapshot& table, std::size_t key,
                                      const std::vector<std::size_t>& values,
                                      const WorkControl& control,
                                      std::optional<std::size_t> name = std::nullopt,
                                      bool nameAlone = false);
// The same per calendar month of the `date` column, labelled "2026-03", in time order; rows
// without a date make a last group "（空）".
std::vector<FigureGroup> totalsByMonth(const TableSnapshot& table, std::size_t date,
                                       const std::vector<std::size_t>& values,
                                       const WorkControl& control);
// A group per row in the result's own order (as the server gave it, whatever the grid's order),
// labelled with the `date` column's day "2026-03-05"; rows without a date stand on the day of
// the row before them, or on `firstDay` before any dated row, and the last row without a date
// on `lastDay`.
std::vector<FigureGroup> valuesByRow(const TableSnapshot& table, std::size_t date,
                                     const std::vector<std::size_t>& values,
                                     const WorkControl& control, const QString& firstDay,
                                     const QString& lastDay);
// The `count` groups with the largest first total, largest first.
std::vector<FigureGroup> largestGroups(std::vector<FigureGroup> groups, std::size_t count);

// One chart of a result, by its columns' names: bars for each of `values` (a series each) per
// group of rows, the groups being the texts of `key` (each followed by the `name` column's text
// when one is named, or labelled by that name alone when `labelIsName`: a warehouse keyed by its
// code and shown by its name) or the calendar months of a date `key`; only the `largest` groups by
// the first value when not 0. A running figure (a balance) is drawn over time instead: a step line
// through its value after every row, from `firstDay` to `lastDay`.
struct ChartRequest {
    enum class Groups { ByText, ByMonth, EveryRow };
    QString title;
    std::string key;
    std::vector<std::string> values;
    Groups groups = Groups::ByText;
    std::string name = {};
    bool labelIsName = false;
    std::size_t largest = 0;
    bool stacked = false; // the values of a group stacked into one bar, as parts of a whole
    QString firstDay = {};
    QString lastDay = {};
};

// The groups of a requested chart; none when the result lacks one of its columns. On any
// thread; throws WorkCancelled once `control` asks it to stop.
std::vector<FigureGroup> chartFigures(const ChartRequest& request, const TableSnapshot& table,
                                      const WorkControl& control);
