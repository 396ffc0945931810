#include "Tfrm_xclquery.h"

#include "RowWarehouse.h"
#include "StartUpConnection.h"
#include "Tfrm_ageing.h"
#include "Tfrm_crquery.h"
#include "Tfrm_stockcard.h"
#include "Tfrm_summary.h"
#include "forms/AboutBox.h"
#include "forms/BoxText.h"
#include "forms/ChartCommand.h"
#include "forms/ConnectionStatus.h"
#include "forms/ContactColours.h"
#include "forms/ContactPanel.h"
#include "forms/ExportCommand.h"
#include "forms/FormParts.h"
#include "forms/MessageBoxes.h"
#include "forms/ModalDialog.h"
#include "forms/PrintCommand.h"
#include "forms/ProgramEnd.h"
#include "forms/QueryFrame.h"
#include "forms/Tfrm_link.h"
#include "forms/Tfrm_store.h"
#include "forms/UserManual.h"
#include "forms/WarehouseList.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "stock/CurrentStockQuery.h"
#include "table/Fonts.h"
#include "table/Warehouses.h"

#include <QAction>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

Tfrm_xclquery* frm_xclquery = nullptr;

namespace {

constexpr int kCriteriaPanelHeight = 85;
constexpr int kStatusBarHeight = 28;
constexpr int kButtonWidth = 79;

} // namespace

Tfrm_xclquery::Tfrm_xclquery(QWidget* parent)
    : QMainWindow(parent),
      QueryWindowFrame(this, ado_conn, currentStockQuery().shape,
                       {.queryFailure = "读取现存量数据出错，请与系统管理员联系！",
                        .exportPrefix = "现存量查询-",
                        .exportFailure = "现存量查询数据输出未完成！",
                        .charts = {{.title = "现存量（按仓库）",
                                    .key = "仓库编码",
                                    .values = {"现存量"},
                                    .name = "仓库名称",
                                    .labelIsName = true},
                                   {.title = "现存量最多的 20 种存货",
                                    .key = "存货编码",
                                    .values = {"现存量"},
                                    .name = "存货名称",
                                    .largest = 20}}}),
      ado_xclinfo(resultQuery()), dbg_xclinfo(grid()) {
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette background = palette();
    background.setColor(QPalette::Window, background.color(QPalette::Button));
    setPalette(background);

    auto* client = new QWidget(this);
    QWidget* criteria = buildCriteriaPanel();
    buildFrame(client,
               {QSize(942, 500),
                {{"ToolButton2", "连接", 30, [this] { ToolButton2Click(); }},
                 {"ToolButton1", "出入库流水帐", 6, [this] { ToolButton1Click(); }},
                 {"tbn_summary", "收发存汇总", 6, [this] { ShowSummary(); }},
                 {"tbn_ageing", "库龄分析", 6, [this] { ShowAgeing(); }},
                 {"tbn_help", "帮助", 41, [this] { openManualPage(this, "index"); }},
                 {"tbn_about", "关于", 40, [this] { showAboutBox(ado_conn, this); }}},
                kStatusBarHeight,
                "记录数为：",
                12},
               criteria, {BitBtn1});
    setCentralWidget(client);
    ToolButton2 = ownButtons[0];
    ToolButton1 = ownButtons[1];
    ToolButton1->setFixedWidth(kButtonWidth);
    tbn_summary = ownButtons[2];
    tbn_ageing = ownButtons[3];
    tbn_help = ownButtons[4];
    tbn_about = ownButtons[5];
    setManualPage(*this, "stock");
    connect(dbg_xclinfo, &ResultGrid::doubleClicked, this, &Tfrm_xclquery::dbg_xclinfoDblClick);
    act_rowJournal = addMenuEntry(
        "查看出入库流水", [this] { ShowRowJournal(); }, QKeySequence(Qt::CTRL | Qt::Key_J));
    act_rowCard = addMenuEntry(
        "查看库存台账", [this] { ShowRowCard(); }, QKeySequence(Qt::CTRL | Qt::Key_L));
    addMenuEntry("收发存汇总", [this] { ShowSummary(); }, {});
    addMenuEntry("库龄分析", [this] { ShowAgeing(); }, {});
    showConnection();

    t_action.setInterval(1000);
    connect(&t_action, &QTimer::timeout, this, &Tfrm_xclquery::Timer1Timer);
    frm_xclquery = this;
}

Tfrm_xclquery::~Tfrm_xclquery() {
    frm_xclquery = nullptr;
}

QWidget* Tfrm_xclquery::buildCriteriaPanel() {
    QFrame* panel = loweredPanel(this, "Panel1");
    panel->setFixedHeight(kCriteriaPanelHeight);
    const WarehouseCriterion warehouses(panel, QSize(152, 78));
    BitBtn1 = warehouses.button;
    lbb_store = warehouses.list;
    criterionLabel(panel, "存货编码", 195, 13);
    edt_code = criterionBox(panel, "edt_code", 245, 9, 150);
    criterionLabel(panel, "存货代码", 402, 13);
    edt_no = criterionBox(panel, "edt_no", 453, 9, 140);
    criterionLabel(panel, "规格型号", 195, 40);
    edt_spec = criterionBox(panel, "edt_spec", 245, 36, 150);
    criterionLabel(panel, "存货名称", 402, 40);
    edt_name = criterionBox(panel, "edt_name", 453, 36, 140);
    moveFocusOnEnter(*lbb_store, *edt_code);
    for (QLineEdit* box : {edt_code, edt_no, edt_spec, edt_name})
        runOnEnter(
            *box, [this] { RunQuery(); }, box != edt_name);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_xclquery::BitBtn1Click);
    auto* contacts = new ContactPanel(ContactPanel::Arrangement::Stacked, 16, Qt::black, panel);
    contacts->setObjectName("Panel2");
    contacts->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    contacts->setGeometry(600, 4, 331, 74);
    Edit3 = contacts->webField();
    Edit1 = contacts->emailField();
    Edit2 = contacts->qqField();
    chainTabOrder({BitBtn1, lbb_store, edt_code, edt_no, edt_spec, edt_name});
    return panel;
}

void Tfrm_xclquery::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        programEnd::begin(); // the window's work may still wait in a driver
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

void Tfrm_xclquery::StartUpConnect() {
    connectAtStart(*this, work(), ado_conn, [this](bool connected) {
        showConnection();
        if (connected)
            t_action.start();
    });
}

void Tfrm_xclquery::Timer1Timer() {
    for (QLineEdit* field : {Edit3, Edit1, Edit2, Edit4, Edit5, Edit6})
        setFieldColour(*field, nextContactColour(fieldColour(*field)));
}

void Tfrm_xclquery::BitBtn1Click() {
    showModalOnce(frm_store, ado_conn, *lbb_store, nullptr);
}

void Tfrm_xclquery::RunQuery() {
    CurrentStockCriteria criteria;
    readItemCriteria(criteria);
    runStatement(currentStockQuery().statement(criteria), currentStockQuery().describe(criteria));
}

void Tfrm_xclquery::ToolButton2Click() {
    const ConnectionSettings before = ado_conn.settings();
    showModalOnce(frm_link, ado_conn, nullptr);
    // Rows read from another database, or over a connection that is gone, do not stay under
    // the new connection's name.
    if (!ado_conn.isOpen() || ado_conn.settings() != before)
        clearResult(*dbg_xclinfo, *Panel4);
    showConnection();
}

void Tfrm_xclquery::showConnection() {
    showConnectionIn(work(), ado_conn);
}

void Tfrm_xclquery::ToolButton1Click() {
    showModalOnce(frm_crquery, ado_conn, this);
}

void Tfrm_xclquery::ShowSummary() {
    if (!work().busy()) // its queries would wait for the connection
        showModalOnce(frm_summary, ado_conn, this);
}

void Tfrm_xclquery::ShowAgeing() {
    if (!work().busy()) // its queries would wait for the connection
        showModalOnce(frm_ageing, ado_conn, this);
}

void Tfrm_xclquery::dbg_xclinfoDblClick() {
    if (!work().busy()) // the journal's queries would wait for the connection
        ToolButton1Click();
}

void Tfrm_xclquery::ShowRowJournal() {
    withRowWarehouse(
        work(), ado_conn, *dbg_xclinfo, "正在打开出入库流水帐……",
        [this](const StockRowCells& row, const Warehouse& warehouse) {
            showModalOncePrepared<Tfrm_crquery>(
                frm_crquery,
                [&](Tfrm_crquery& journal) { journal.QueryFor(row.itemCode, {warehouse}); },
                ado_conn, this);
        });
}

void Tfrm_xclquery::ShowRowCard() {
    withRowWarehouse(
        work(), ado_conn, *dbg_xclinfo, "正在打开库存台账……",
        [this](const StockRowCells& row, const Warehouse& warehouse) {
            const QDate today = QDate::currentDate();
            const StockCardCriteria card{
                warehouse.code.toStdString(), row.itemCode.toStdString(), row.batch.toStdString(),
                QDate(today.year(), today.month(), 1).toString("yyyy-MM-dd").toStdString(),
                today.toString("yyyy-MM-dd").toStdString()};
            showStockCard(
                ado_conn, card,
                stockCardSubject(row.itemCode, row.itemName, warehouse.code, warehouse.name), this);
        });
}
