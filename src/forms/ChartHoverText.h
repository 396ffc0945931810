#pragma once

#include <QObject>
#include <QString>

class QChart;
class QWidget;

// What a chart's bar or point under the pointer says, shown as Qt shows any tooltip: once the
// pointer has rested on it, moved along as the pointer goes to the next one while shown, gone
// when the pointer leaves it. The series say what they are over; the view's tooltip event
// shows it. (A tooltip shown straight from Qt Charts' hover signals was hidden again by the
// crossing that followed, and never showed on a desktop.)
class ChartHoverText : public QObject {
    Q_OBJECT
public:
    // Belongs to `chart`, and goes with it.
    explicit ChartHoverText(QChart* chart);

    // The chart of this hover text, once its view shows it.
    static void watch(QChart& chart, QWidget& viewport);

    // The pointer came onto something that says `text`; it left something that said `text`.
    void entered(const QString& text);
    void left(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* viewport_ = nullptr;
    QString text_;
};
