#pragma once

#include "table/ChartFigures.h"

#include <QDialog>

#include <memory>
#include <vector>

class QChart;
class QChartView;
class QTabWidget;

// A chart as it is shown: what was asked for and the groups added up for it.
struct ChartFiguresShown {
    ChartRequest request;
    std::vector<FigureGroup> groups;
};

// The charts of a result, one tab each, drawn with Qt Charts: bars per group, a series per
// summed column, the criteria in force under the title; hovering a bar shows its value, and
// 保存图片 writes the chart shown as PNG or SVG (beside the target, then renamed over it).
class ChartWindow : public QDialog {
    Q_OBJECT
public:
    ChartWindow(const QString& caption, const QString& criteria,
                std::vector<ChartFiguresShown> charts, QWidget* parent);
    ~ChartWindow() override;

    QTabWidget* tabs() const { return tabs_; }
    QChart* chart(int index) const;
    // Writes the chart shown to `path`: SVG when the name ends in .svg, else PNG. False, with
    // the reason in `failure`, when the file cannot be written; an old file then stays whole.
    bool saveChart(const QString& path, QString& failure) const;

private:
    void askToSave();
    // Chart `index`, made the first time it is asked for, until its view takes it.
    std::unique_ptr<QChart>& made(int index) const;
    // The view of chart `index`, made the first time it is asked for.
    QChartView& view(int index) const;

    QTabWidget* tabs_;
    QString criteria_;
    std::vector<ChartFiguresShown> charts_;
    mutable std::vector<std::unique_ptr<QChart>> made_;
    mutable std::vector<QChartView*> views_;
};

// The text a bar's value shows, as the grid's footer shows a total.
QString figureText(std::int64_t tenThousandths);
// What hovering a step line at `at` (milliseconds since 1970, local time) shows: the day and
// `series`' value after the last row of that day, or of the last day before it with a row.
QString stepHoverText(const std::vector<FigureGroup>& groups, const QString& series, double at);
