#include "Tfrm_summary.h"

#include "Tfrm_stockcard.h"
#include "forms/ConnectionStatus.h"
#include "forms/FormParts.h"
#include "forms/MessageBoxes.h"
#include "forms/ModalDialog.h"
#include "forms/Tfrm_store.h"
#include "forms/UserManual.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "ledger/PeriodSummaryQuery.h"
#include "table/ResultTableModel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

Tfrm_summary* frm_summary = nullptr;

namespace {

constexpr int kCriteriaPanelHeight = 84;
constexpr int kStatusBarHeight = 31;

} // namespace

Tfrm_summary::Tfrm_summary(Connection& connection, QWidget* parent)
    : QueryDialog(connection, periodSummaryQuery(false).shape,
                  {.queryFailure = "读取收发存汇总出错！",
                   .exportPrefix = "收发存汇总-",
                   .exportFailure = "收发存汇总数据输出未完成！",
                   // By code, so that warehouses of one name stay apart.
                   .charts = {{.title = "入库与出库（按仓库）",
                               .key = "仓库编码",
                               .values = {"入库数量", "出库数量"},
                               .name = "仓库"},
                              {.title = "期末数量最多的 20 种存货",
                               .key = "存货编码",
                               .values = {"期末数量"},
                               .name = "存货名称",
                               .largest = 20}}},
                  parent) {
    setManualPage(*this, "summary");
    QWidget* criteria = buildCriteriaPanel();
    buildFrame(this, {QSize(980, 500), {}, kStatusBarHeight, "", 14}, criteria,
               {BitBtn1, chk_batch});
    act_rowCard = addMenuEntry(
        "查看库存台账", [this] { ShowRowCard(); }, QKeySequence(Qt::CTRL | Qt::Key_L));
}

QWidget* Tfrm_summary::buildCriteriaPanel() {
    const PeriodCriteria criteria(this, kCriteriaPanelHeight, *this, "期　　间");
    QFrame* panel = criteria.panel;
    dates = criteria.from;
    datee = criteria.to;
    chk_batch = new QCheckBox("按批次", panel);
    chk_batch->setObjectName("chk_batch");
    chk_batch->setGeometry(472, 36, 80, 20);
    runQueryOnEnterIn({edt_code, edt_no, edt_spec, edt_name});
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_summary::BitBtn1Click);
    chainTabOrder(
        {BitBtn1, lbb_store, edt_code, edt_no, edt_spec, edt_name, dates, datee, chk_batch});
    return panel;
}

void Tfrm_summary::showDefaults() {
    const QDate today = QDate::currentDate();
    dates->setDate(QDate(today.year(), today.month(), 1));
    datee->setDate(today);
}

void Tfrm_summary::BitBtn1Click() {
    showModalOnce(frm_store, connection_, *lbb_store, nullptr);
}

void Tfrm_summary::RunQuery() {
    if (work().busy())
        return;
    PeriodSummaryCriteria criteria;
    readItemCriteria(criteria);
    criteria.dateFrom = isoDate(*dates);
    criteria.dateTo = isoDate(*datee);
    criteria.byBatch = chk_batch->isChecked();
    if (criteria.dateFrom > criteria.dateTo) {
        showPrompt(this, "期间的开始日期晚于结束日期，请重新选择。");
        return;
    }
    const QueryDefinition<PeriodSummaryCriteria>& query = periodSummaryQuery(criteria.byBatch);
    // Rows per batch have a 批号 column that rows per item lack.
    if (criteria.byBatch != rowsPerBatch_) {
        changeShape(query.shape);
        rowsPerBatch_ = criteria.byBatch;
    }
    if (runStatement(query.statement(criteria), query.describe(criteria)))
        shown_ = criteria;
}

void Tfrm_summary::ShowRowCard() {
    const int row = grid()->body()->currentRow();
    if (!work().busy() && row >= 0)
        showRowStockCard(connection_, *grid()->model(), row, shown_.byBatch, shown_.dateFrom,
                         shown_.dateTo, this);
}
