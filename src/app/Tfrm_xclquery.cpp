#include "Tfrm_xclquery.h"

#include "Tfrm_ageing.h"
#include "Tfrm_crquery.h"
#include "Tfrm_stockcard.h"
#include "Tfrm_summary.h"
#include "forms/AboutBox.h"
#include "forms/BackgroundConnect.h"
#include "forms/BoxText.h"
#include "forms/ChartCommand.h"
#include "forms/ConnectionStatus.h"
#include "forms/ContactColours.h"
#include "forms/ContactPanel.h"
#include "forms/ExportCommand.h"
#include "forms/FormParts.h"
#include "forms/MessageBoxes.h"
#include "forms/ModalDialog.h"
#include "forms/PasswordPrompt.h"
#include "forms/PrintCommand.h"
#include "forms/ProgramEnd.h"
#include "forms/QueryFrame.h"
#include "forms/Tfrm_link.h"
#include "forms/Tfrm_store.h"
#include "forms/UserManual.h"
#include "forms/WarehouseList.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "settings/DBLinkInfo.h"
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

void Tfrm_xclquery::LoadDBLinkInfo() {
    if (!loadDBLinkInfo(settings_))
        showRegistryError("建立数据库连接时发现错误,请点击连接重新设置！");
}

void Tfrm_xclquery::StartUpConnect() {
    LoadDBLinkInfo();
    const QString failed = "数据库连接失败,请点击连接重新设置!";
    // Only the login is tested: the stored values are used as read, not trimmed.
    if (!namesALogin(settings_)) {
        showPrompt(this, failed);
        return;
    }
    if (!settings_.rememberPassword && loginTakesPassword(settings_)) {
        const auto password = askForPassword(this, settings_);
        if (!password) {
            showPrompt(this, failed);
            return;
        }
        settings_.password = *password;
    }
    connectInBackground(work(), ado_conn, settings_, [this, failed](bool connected) {
        showConnection();
        if (connected)
            t_action.start();
        else
            showPrompt(this, failed);
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
        "正在打开出入库流水帐……", [this](const RowCells& row, const Warehouse& warehouse) {
            showModalOncePrepared<Tfrm_crquery>(
                frm_crquery,
                [&](Tfrm_crquery& journal) { journal.QueryFor(row.itemCode, {warehouse}); },
                ado_conn, this);
        });
}

void Tfrm_xclquery::ShowRowCard() {
    withRowWarehouse("正在打开库存台账……", [this](const RowCells& row, const Warehouse& warehouse) {
        const QDate today = QDate::currentDate();
        const StockCardCriteria card{
            warehouse.code.toStdString(), row.itemCode.toStdString(), row.batch.toStdString(),
            QDate(today.year(), today.month(), 1).toString("yyyy-MM-dd").toStdString(),
            today.toString("yyyy-MM-dd").toStdString()};
        showStockCard(ado_conn, card,
                      stockCardSubject(row.itemCode, row.itemName, warehouse.code, warehouse.name),
                      this);
    });
}

void Tfrm_xclquery::withRowWarehouse(const QString& opening, const RowWarehouseUse& use) {
    const int row = dbg_xclinfo->body()->currentRow();
    if (work().busy() || row < 0)
        return;
    const ResultTableModel& table = *dbg_xclinfo->model();
    const auto cell = [&](const char* field) {
        return table.index(row, table.columnOf(field)).data().toString();
    };
    // The row's warehouse by its code, which the grid does not show.
    const ResultSet& rows = table.query().result();
    const std::string_view code =
        rows.column(table.query().fieldIndex("仓库编码")).text(table.query().rowAt(row));
    const RowCells cells{cell("存货编码"), cell("存货名称"), cell("批号"),
                         QString::fromUtf8(code.data(), static_cast<qsizetype>(code.size()))};
    // The windows show the warehouse as its code and name.
    auto warehouses = std::make_shared<std::vector<Warehouse>>();
    work().start({
        [warehouses, &connection = ado_conn](WorkControl&) {
            ResultQuery query(connection);
            *warehouses = readWarehouses(query);
        },
        [opening](const WorkControl&, double) { return opening; },
        [warehouses, cells, use](std::exception_ptr error) {
            if (error)
                return; // a cancel, or the connection failed: the query would say so
            const auto found =
                std::find_if(warehouses->begin(), warehouses->end(),
                             [&](const Warehouse& w) { return w.code == cells.warehouseCode; });
            if (found != warehouses->end())
                use(cells, *found);
        },
    });
}
