#include "Tfrm_xclquery.h"

#include "OperatorImages.h"
#include "common/ContactColours.h"
#include "common/ContactPanel.h"
#include "common/Fonts.h"
#include "common/MessageBoxes.h"
#include "connection/DBLinkInfo.h"
#include "connection/Tfrm_link.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QShowEvent>
#include <QToolBar>
#include <QToolButton>

Tfrm_xclquery* frm_xclquery = nullptr;

namespace {

constexpr int kToolbarBandHeight = 45;
constexpr int kCriteriaPanelHeight = 85;
constexpr int kStatusBarHeight = 28;
constexpr int kButtonWidth = 79;
constexpr int kButtonHeight = 35;

QFrame* loweredPanel(QWidget* parent, const QString& name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

} // namespace

Tfrm_xclquery::Tfrm_xclquery(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("现存量查询");
    setFont(songTi(12));
    resize(942, 500);
    QPalette background = palette();
    background.setColor(QPalette::Window, background.color(QPalette::Button));
    setPalette(background);

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildToolbar());
    layout->addWidget(buildCriteriaPanel());
    // The result grid's place, until the grid fills it.
    auto* gridPlace = new QWidget(client);
    gridPlace->setObjectName("dbg_xclinfo");
    layout->addWidget(gridPlace, 1);
    layout->addWidget(buildStatusBar());
    setCentralWidget(client);

    t_action.setInterval(1000);
    connect(&t_action, &QTimer::timeout, this, &Tfrm_xclquery::Timer1Timer);
    frm_xclquery = this;
}

Tfrm_xclquery::~Tfrm_xclquery() {
    frm_xclquery = nullptr;
}

QWidget* Tfrm_xclquery::buildToolbar() {
    auto* band = new QFrame(this);
    band->setObjectName("ControlBar1");
    band->setFixedHeight(kToolbarBandHeight);
    auto* toolbar = new QToolBar(band);
    toolbar->setObjectName("ToolBarBill");
    toolbar->setIconSize(QSize(16, 16));
    toolbar->setGeometry(0, 0, 2000, kToolbarBandHeight);
    const auto addButton = [&](const char* name, const QString& caption, int picture) {
        if (!toolbar->actions().isEmpty()) {
            auto* separator = new QWidget(toolbar);
            separator->setFixedWidth(8);
            toolbar->addWidget(separator);
        }
        auto* button = new QToolButton(toolbar);
        button->setObjectName(name);
        button->setText(caption);
        button->setIcon(operatorImage(picture));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFont(songTi(12));
        button->setFixedHeight(kButtonHeight);
        toolbar->addWidget(button);
        return button;
    };
    tbn_query = addButton("tbn_query", "查询", 10);
    ToolButton8 = addButton("ToolButton8", "输出", 1);
    ToolButton2 = addButton("ToolButton2", "连接", 30);
    ToolButton1 = addButton("ToolButton1", "出入库流水帐", 6);
    ToolButton1->setFixedWidth(kButtonWidth);
    tb_exit = addButton("tb_exit", "退出", 4);
    connect(ToolButton2, &QToolButton::clicked, this, &Tfrm_xclquery::ToolButton2Click);
    connect(tb_exit, &QToolButton::clicked, this, &QWidget::close);
    return band;
}

QWidget* Tfrm_xclquery::buildCriteriaPanel() {
    QFrame* panel = loweredPanel(this, "Panel1");
    panel->setFixedHeight(kCriteriaPanelHeight);
    auto* contacts = new ContactPanel(ContactPanel::Arrangement::Stacked, 16, Qt::black, panel);
    contacts->setObjectName("Panel2");
    contacts->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    contacts->setGeometry(600, 4, 331, 74);
    Edit3 = contacts->webField();
    Edit1 = contacts->emailField();
    Edit2 = contacts->qqField();
    return panel;
}

QWidget* Tfrm_xclquery::buildStatusBar() {
    QFrame* bar = loweredPanel(this, "Panel3");
    bar->setFixedHeight(kStatusBarHeight);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel4 = new QLabel("记录数为：", bar);
    Panel4->setObjectName("Panel4");
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel4->setFixedWidth(253);
    Panel4->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(Panel4);
    auto* contacts = new ContactPanel(ContactPanel::Arrangement::SideBySide, 12,
                                      palette().color(QPalette::WindowText), bar);
    contacts->setObjectName("Panel5");
    contacts->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    layout->addWidget(contacts, 1);
    Edit4 = contacts->webField();
    Edit5 = contacts->emailField();
    Edit6 = contacts->qqField();
    return bar;
}

void Tfrm_xclquery::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous() || shownBefore_)
        return;
    shownBefore_ = true;
    // Connect once the window is on the screen, so that it shows at once and any message
    // stands over it.
    QTimer::singleShot(0, this, &Tfrm_xclquery::StartUpConnect);
}

void Tfrm_xclquery::LoadDBLinkInfo() {
    if (!loadDBLinkInfo(settings_))
        showRegistryError("建立数据库连接时发现错误,请点击连接重新设置！");
}

void Tfrm_xclquery::StartUpConnect() {
    LoadDBLinkInfo();
    const QString failed = "数据库连接失败,请点击连接重新设置!";
    // Only the user is tested: the stored values are used as read, not trimmed.
    if (settings_.user.empty()) {
        showPrompt(this, failed);
        return;
    }
    ado_conn.setSettings(settings_);
    try {
        ado_conn.open();
    } catch (const DbError&) {
        showPrompt(this, failed);
        return;
    }
    t_action.start();
}

void Tfrm_xclquery::Timer1Timer() {
    for (QLineEdit* field : {Edit3, Edit1, Edit2, Edit4, Edit5, Edit6})
        setFieldColour(*field, nextContactColour(fieldColour(*field)));
}

void Tfrm_xclquery::ToolButton2Click() {
    frm_link = new Tfrm_link(nullptr);
    const auto destroy = qScopeGuard([] {
        delete frm_link;
        frm_link = nullptr;
    });
    frm_link->exec();
}
