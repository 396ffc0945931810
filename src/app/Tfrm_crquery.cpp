#include "Tfrm_crquery.h"

#include "forms/BoxText.h"
#include "forms/ConnectionStatus.h"
#include "forms/FormParts.h"
#include "forms/MessageBoxes.h"
#include "forms/ModalDialog.h"
#include "forms/Tfrm_crstore.h"
#include "forms/UserManual.h"
#include "forms/WarehouseList.h"
#include "journal/JournalQuery.h"
#include "result/TrimmedText.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

Tfrm_crquery* frm_crquery = nullptr;

namespace {

constexpr int kCriteriaPanelHeight = 84;
constexpr int kStatusBarHeight = 31;

QComboBox* dropDownList(QWidget* parent, const char* name, int left, int width,
                        const QStringList& items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(items);
    list->setCurrentIndex(-1);
    list->setGeometry(left, 36, width, 20);
    return list;
}

// A drop-down list's chosen text as the statement takes it: trimmed, empty when none.
std::string chosenText(const QComboBox& list) {
    return trimmedText(list.currentText().toStdString());
}

} // namespace

Tfrm_crquery::Tfrm_crquery(Connection& connection, QWidget* parent)
    : QueryDialog(connection, journalQuery().shape,
                  {.queryFailure = "读取出入库流水帐出错！",
                   .exportPrefix = "出入库流水帐-",
                   .exportFailure = "出入库流水帐数据输出未完成！",
                   .charts = {{.title = "入库与出库（按月）",
                               .key = "单据日期",
                               .values = {"入库数量", "出库数量"},
                               .groups = ChartRequest::Groups::ByMonth},
                              {.title = "入库与出库（按仓库）",
                               .key = "仓库编码",
                               .values = {"入库数量", "出库数量"},
                               .name = "仓库",
                               .labelIsName = true}}},
                  parent),
      ado_crinfo(resultQuery()), dbg_crinfo(grid()) {
    setManualPage(*this, "journal");
    QWidget* criteria = buildCriteriaPanel();
    buildFrame(this, {QSize(980, 500), {}, kStatusBarHeight, "", 14}, criteria, {BitBtn1});
}

QWidget* Tfrm_crquery::buildCriteriaPanel() {
    const PeriodCriteria criteria(this, kCriteriaPanelHeight, *this, "制单日期");
    QFrame* panel = criteria.panel;
    dates = criteria.from;
    datee = criteria.to;
    criterionLabel(panel, "收发标志", 472, 40);
    cbb_sfflag = dropDownList(panel, "cbb_sfflag", 525, 76, {"", "收", "发"});
    criterionLabel(panel, "单据来源", 605, 40);
    cbb_ordersource = dropDownList(panel, "cbb_ordersource", 655, 137,
                                   {"", "来料检验单", "产品检验单", "采购到货单", "委外到货单",
                                    "采购订单", "委外订单", "生产订单", "发货单", "出口销货单",
                                    "领料申请单", "调拨", "形态转换", "库存", "", ""});
    criterionLabel(panel, "生产订单", 797, 40);
    edt_orderno = criterionBox(panel, "edt_orderno", 849, 36, 111);
    criterionLabel(panel, "单 据 号", 207, 64);
    edt_djno = criterionBox(panel, "edt_djno", 257, 60, 154);
    runQueryOnEnterIn({edt_code, edt_no, edt_spec});
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_crquery::BitBtn1Click);
    chainTabOrder({BitBtn1, lbb_store, edt_code, edt_no, edt_spec, dates, datee, cbb_sfflag,
                   cbb_ordersource, edt_orderno, edt_name, edt_djno});
    return panel;
}

void Tfrm_crquery::showDefaults() {
    const QDate today = QDate::currentDate();
    dates->setDate(QDate(today.year(), 1, 1));
    datee->setDate(today);
}

void Tfrm_crquery::BitBtn1Click() {
    showModalOnce(frm_crstore, connection_, *lbb_store, nullptr);
}

void Tfrm_crquery::RunQuery() {
    JournalCriteria criteria;
    readItemCriteria(criteria);
    criteria.dateFrom = isoDate(*dates);
    criteria.dateTo = isoDate(*datee);
    criteria.flag = chosenText(*cbb_sfflag);
    criteria.source = chosenText(*cbb_ordersource);
    criteria.productionOrder = trimmedBoxText(*edt_orderno);
    criteria.documentNumber = trimmedBoxText(*edt_djno);
    runStatement(journalQuery().statement(criteria), journalQuery().describe(criteria));
}

void Tfrm_crquery::QueryFor(const QString& itemCode, const std::vector<Warehouse>& warehouses) {
    edt_code->setText(itemCode);
    for (const Warehouse& warehouse : warehouses)
        appendWarehouseLine(*lbb_store, warehouseLine(warehouse.code, warehouse.name),
                            warehouse.code);
    QTimer::singleShot(0, this, &Tfrm_crquery::RunQuery); // once shown, with its dates
}
