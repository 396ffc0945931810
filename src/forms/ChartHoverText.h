#pragma once

#include <QObject>
#include <QPointF>
#include <QString>

#include <functional>

class QChart;
class QWidget;

// What a chart says where the pointer rests, shown as Qt shows any tooltip: once the pointer has
// rested, following it from one bar to the next while shown, gone when it leaves. Bar charts
// say what they are over through their series' hover; a line chart is asked for the text at any
// point of its plot. The tip lets the pointer through to the chart beneath it, so that a hand
// moving on across its own tip still reaches the next bar. (Shown straight from Qt Charts' hover
// signals, a tip was hidden again by the crossing that followed, and none showed on a desktop.)
class ChartHoverText : public QObject {
    Q_OBJECT
public:
    // The text at a point in the chart's own coordinates; empty for none.
    using TextAt = std::function<QString(QPointF)>;

    // Belongs to `chart`, and goes with it.
    explicit ChartHoverText(QChart* chart, TextAt textAt = {});

    // The chart's hover text, if it has one, shown over `viewport` once the chart's view shows.
    static void watch(QChart& chart, QWidget& viewport);

    // The pointer came onto a bar that says `text`; it left a bar that said `text`.
    void entered(const QString& text);
    void left(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(QPoint global, const QString& text);

    QChart* chart_;
    TextAt textAt_;
    QWidget* viewport_ = nullptr;
    QString text_;
};
