#include "FormParts.h"

#include "ContactPanel.h"
#include "OperatorImages.h"
#include "grid/Fonts.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace {
constexpr int kToolBandHeight = 45;
constexpr int kButtonHeight = 35;
} // namespace

QFrame* loweredPanel(QWidget* parent, const QString& name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
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

ToolBand::ToolBand(QWidget* parent) : band_(new QFrame(parent)), toolbar_(new QToolBar(band_)) {
    band_->setObjectName("ControlBar1");
    band_->setFixedHeight(kToolBandHeight);
    toolbar_->setObjectName("ToolBarBill");
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setGeometry(0, 0, 2000, kToolBandHeight);
}

QToolButton* ToolBand::addButton(const char* name, const QString& caption, int picture) {
    if (!toolbar_->actions().isEmpty()) {
        auto* separator = new QWidget(toolbar_);
        separator->setFixedWidth(8);
        toolbar_->addWidget(separator);
    }
    auto* button = new QToolButton(toolbar_);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(operatorImage(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFont(songTi(12));
    button->setFixedHeight(kButtonHeight);
    toolbar_->addWidget(button);
    return button;
}

StatusBar::StatusBar(QWidget* parent, int height, const QString& countText, int contactPixels,
                     const QColor& contactColour)
    : bar(loweredPanel(parent, "Panel3")), count(new QLabel(countText, bar)),
      contacts(new ContactPanel(ContactPanel::Arrangement::SideBySide, contactPixels, contactColour,
                                bar)) {
    bar->setFixedHeight(height);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    count->setObjectName("Panel4");
    count->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    count->setFixedWidth(253);
    count->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(count);
    contacts->setObjectName("Panel5");
    contacts->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    layout->addWidget(contacts, 1);
}
