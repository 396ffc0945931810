#pragma once

#include <QWidget>

#include <string>

class QHBoxLayout;
class RowFilter;

// The filters in force, above the grid: one button a filter ("仓库名称：01、03 ×"), which
// removes it, and 清除筛选; hidden while no filter is set.
class FilterStrip : public QWidget {
    Q_OBJECT
public:
    explicit FilterStrip(QWidget* parent = nullptr);

    void showFilters(const RowFilter& filter);

signals:
    void removeRequested(const std::string& field);
    void clearRequested();

private:
    QHBoxLayout* items_;
};
