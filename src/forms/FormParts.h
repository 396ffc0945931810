#pragma once

#include <QString>

#include <functional>
#include <initializer_list>
#include <string>

class QDateEdit;
class QEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSize;
class QWidget;
struct ItemCriteriaFields;

// The pieces both query windows are built of.

QFrame* loweredPanel(QWidget* parent, const QString& name);
// A criterion's caption, left of its box.
QLabel* criterionLabel(QWidget* parent, const QString& caption, int left, int top);
QLineEdit* criterionBox(QWidget* parent, const char* name, int left, int top, int width);
bool isEnter(const QEvent* event);
// A date criterion: a Chinese short date with the calendar popping up, `left` across the
// criteria panel's second row.
QDateEdit* criterionDate(QWidget* parent, const char* name, int left);
// A date criterion's day as statements take it, "yyyy-MM-dd".
std::string isoDate(const QDateEdit& picker);

// Enter in `from` moves the focus to `to` and does nothing else.
void moveFocusOnEnter(QWidget& from, QWidget& to);

// Tab goes through `widgets` in the order given.
void chainTabOrder(std::initializer_list<QWidget*> widgets);

// The warehouse criterion at the left of a criteria panel: the caption "仓库", the ">>"
// button that opens the picker, and the list of chosen warehouses, `listSize` big.
struct WarehouseCriterion {
    WarehouseCriterion(QWidget* panel, const QSize& listSize);
    QPushButton* button;
    QListWidget* list;
};

// The criteria the journal, the summary and the ageing share, in a lowered panel `height`
// high: the warehouse criterion and the four item boxes across the top (存货编码, 存货代码,
// 规格型号, 存货名称), made into the window's `fields`; the second row is the window's.
struct ItemCriteriaPanel {
    ItemCriteriaPanel(QWidget* window, int height, ItemCriteriaFields& fields);
    QFrame* panel;
};

// The item criteria with a period captioned `periodCaption` below them.
struct PeriodCriteria : ItemCriteriaPanel {
    PeriodCriteria(QWidget* window, int height, ItemCriteriaFields& fields,
                   const QString& periodCaption);
    QDateEdit* from;
    QDateEdit* to;
};

// Enter in `box` runs `run`; with `selectText` the box's whole text is selected afterwards, so
// that the next typing replaces it.
void runOnEnter(QLineEdit& box, const std::function<void()>& run, bool selectText);
