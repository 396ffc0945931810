#include "FormParts.h"
#include "ItemCriteriaFields.h"

#include "table/Fonts.h"

#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

QFrame* loweredPanel(QWidget* parent, const QString& name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

QDateEdit* criterionDate(QWidget* parent, const char* name, int left) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    picker->setGeometry(left, 36, 95, 20);
    return picker;
}

std::string isoDate(const QDateEdit& picker) {
    return picker.date().toString("yyyy-MM-dd").toStdString();
}

QLabel* criterionLabel(QWidget* parent, const QString& caption, int left, int top) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(left, top, 48, 12);
    return label;
}

QLineEdit* criterionBox(QWidget* parent, const char* name, int left, int top, int width) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(left, top, width, 20);
    return box;
}

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

namespace {

class FocusOnEnter : public QObject {
public:
    FocusOnEnter(QWidget& from, QWidget& to) : QObject(&from), to_(to) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (isEnter(event))
            to_.setFocus();
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& to_;
};

} // namespace

void moveFocusOnEnter(QWidget& from, QWidget& to) {
    from.installEventFilter(new FocusOnEnter(from, to));
}

void chainTabOrder(std::initializer_list<QWidget*> widgets) {
    for (auto at = widgets.begin(); at + 1 < widgets.end(); ++at)
        QWidget::setTabOrder(*at, *(at + 1));
}

WarehouseCriterion::WarehouseCriterion(QWidget* panel, const QSize& listSize)
    : button(new QPushButton(">>", panel)), list(new QListWidget(panel)) {
    criterionLabel(panel, "仓库", 8, 15)->setFixedWidth(24);
    button->setObjectName("BitBtn1");
    button->setGeometry(7, 31, 26, 25);
    button->setAutoDefault(false);
    list->setObjectName("lbb_store");
    list->setGeometry(QRect(QPoint(35, 3), listSize));
    list->setUniformItemSizes(true);
}

void runOnEnter(QLineEdit& box, const std::function<void()>& run, bool selectText) {
    QObject::connect(&box, &QLineEdit::returnPressed, &box, [&box, run, selectText] {
        run();
        if (selectText)
            box.selectAll();
    });
}

ItemCriteriaPanel::ItemCriteriaPanel(QWidget* window, int height, ItemCriteriaFields& fields)
    : panel(loweredPanel(window, "Panel1")) {
    panel->setFixedHeight(height);
    const WarehouseCriterion chosen(panel, QSize(165, 76));
    fields.BitBtn1 = chosen.button;
    fields.lbb_store = chosen.list;
    criterionLabel(panel, "存货编码", 207, 15);
    fields.edt_code = criterionBox(panel, "edt_code", 257, 11, 154);
    criterionLabel(panel, "存货代码", 419, 15);
    fields.edt_no = criterionBox(panel, "edt_no", 469, 11, 132);
    criterionLabel(panel, "规格型号", 605, 15);
    fields.edt_spec = criterionBox(panel, "edt_spec", 655, 11, 136);
    criterionLabel(panel, "存货名称", 797, 15);
    fields.edt_name = criterionBox(panel, "edt_name", 849, 11, 111);
}

PeriodCriteria::PeriodCriteria(QWidget* window, int height, ItemCriteriaFields& fields,
                               const QString& periodCaption)
    : ItemCriteriaPanel(window, height, fields) {
    criterionLabel(panel, periodCaption, 207, 40);
    from = criterionDate(panel, "dates", 257);
    criterionLabel(panel, "至", 355, 40)->setFixedWidth(14);
    to = criterionDate(panel, "datee", 371);
}
