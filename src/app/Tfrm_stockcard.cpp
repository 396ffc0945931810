#include "Tfrm_stockcard.h"

#include "forms/BoxText.h"
#include "forms/ConnectionStatus.h"
#include "forms/FormParts.h"
#include "forms/MessageBoxes.h"
#include "forms/ModalDialog.h"
#include "forms/UserManual.h"
#include "ledger/StockCardQuery.h"
#include "table/ResultTableModel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

Tfrm_stockcard* frm_stockcard = nullptr;

namespace {

constexpr int kCriteriaPanelHeight = 64;
constexpr int kStatusBarHeight = 31;
constexpr std::size_t kBalanceChart = 0;

QDate dayOf(const std::string& iso) {
    return QDate::fromString(QString::fromStdString(iso), "yyyy-MM-dd");
}

} // namespace

Tfrm_stockcard::Tfrm_stockcard(Connection& connection, QWidget* parent)
    : PlainKeysDialog(parent),
      QueryWindowFrame(this, connection, stockCardQuery().shape,
                       {.queryFailure = "读取库存台账出错！",
                        .exportPrefix = "库存台账-",
                        .exportFailure = "库存台账数据输出未完成！",
                        .charts = {{.title = "结存数量变化",
                                    .key = "单据日期",
                                    .values = {"结存数量"},
                                    .groups = ChartRequest::Groups::EveryRow},
                                   {.title = "入库与出库（按月）",
                                    .key = "单据日期",
                                    .values = {"入库数量", "出库数量"},
                                    .groups = ChartRequest::Groups::ByMonth}}}) {
    setManualPage(*this, "card");
    QWidget* criteria = buildCriteriaPanel();
    buildFrame(this, {QSize(980, 500), {}, kStatusBarHeight, "", 14}, criteria, {chk_batch});
    showConnectionIn(work(), connection);
    const QDate today = QDate::currentDate();
    dates->setDate(QDate(today.year(), today.month(), 1));
    datee->setDate(today);
}

QWidget* Tfrm_stockcard::buildCriteriaPanel() {
    QFrame* panel = loweredPanel(this, "Panel1");
    panel->setFixedHeight(kCriteriaPanelHeight);
    criterionLabel(panel, "仓库编码", 10, 15);
    edt_whcode = criterionBox(panel, "edt_whcode", 60, 11, 80);
    criterionLabel(panel, "存货编码", 150, 15);
    edt_code = criterionBox(panel, "edt_code", 200, 11, 130);
    criterionLabel(panel, "批　　号", 340, 15);
    edt_batch = criterionBox(panel, "edt_batch", 390, 11, 120);
    chk_batch = new QCheckBox("只看此批次", panel);
    chk_batch->setObjectName("chk_batch");
    chk_batch->setGeometry(518, 11, 100, 20);
    criterionLabel(panel, "期　　间", 10, 40);
    dates = criterionDate(panel, "dates", 60);
    criterionLabel(panel, "至", 158, 40)->setFixedWidth(14);
    datee = criterionDate(panel, "datee", 174);
    lbl_subject = new QLabel(panel);
    lbl_subject->setObjectName("lbl_subject");
    lbl_subject->setGeometry(290, 38, 660, 18);
    for (QLineEdit* box : {edt_whcode, edt_code, edt_batch})
        runOnEnter(
            *box, [this] { RunQuery(); }, true);
    // The name shown belongs to the codes the card was opened with.
    for (QLineEdit* box : {edt_whcode, edt_code})
        connect(box, &QLineEdit::textEdited, this, [this] {
            subject_.clear();
            lbl_subject->clear();
        });
    // Typing a batch means that batch.
    connect(edt_batch, &QLineEdit::textEdited, chk_batch, [this] { chk_batch->setChecked(true); });
    chainTabOrder({edt_whcode, edt_code, edt_batch, chk_batch, dates, datee});
    return panel;
}

void Tfrm_stockcard::RunQuery() {
    if (work().busy())
        return;
    StockCardCriteria criteria{trimmedBoxText(*edt_whcode), trimmedBoxText(*edt_code), std::nullopt,
                               isoDate(*dates), isoDate(*datee)};
    if (chk_batch->isChecked())
        criteria.batch = trimmedBoxText(*edt_batch);
    if (criteria.warehouseCode.empty() || criteria.itemCode.empty()) {
        showPrompt(this, "请输入仓库编码和存货编码。");
        return;
    }
    if (criteria.dateFrom > criteria.dateTo) {
        showPrompt(this, "期间的开始日期晚于结束日期，请重新选择。");
        return;
    }
    if (!runStatement(stockCardQuery().statement(criteria), stockCardQuery().describe(criteria)))
        return;
    if (!subject_.isEmpty() && criteria.batch)
        lbl_subject->setText(subject_ + "　批号：" +
                             (criteria.batch->empty() ? QString("（空）")
                                                      : QString::fromStdString(*criteria.batch)));
    else
        lbl_subject->setText(subject_);
    // The balance is drawn over the period of the rows shown.
    ChartRequest& balance = resultUse().charts[kBalanceChart];
    balance.firstDay = QString::fromStdString(criteria.dateFrom);
    balance.lastDay = QString::fromStdString(criteria.dateTo);
}

void Tfrm_stockcard::QueryFor(const StockCardCriteria& criteria, const QString& subject) {
    edt_whcode->setText(QString::fromStdString(criteria.warehouseCode));
    edt_code->setText(QString::fromStdString(criteria.itemCode));
    edt_batch->setText(QString::fromStdString(criteria.batch.value_or("")));
    chk_batch->setChecked(criteria.batch.has_value());
    dates->setDate(dayOf(criteria.dateFrom));
    datee->setDate(dayOf(criteria.dateTo));
    subject_ = subject;
    QTimer::singleShot(0, this, &Tfrm_stockcard::RunQuery); // once shown
}

void showStockCard(Connection& connection, const StockCardCriteria& criteria,
                   const QString& subject, QWidget* parent) {
    showModalOncePrepared<Tfrm_stockcard>(
        frm_stockcard, [&](Tfrm_stockcard& card) { card.QueryFor(criteria, subject); }, connection,
        parent);
}

QString stockCardSubject(const QString& itemCode, const QString& itemName,
                         const QString& warehouseCode, const QString& warehouse) {
    return QString("存货：%1 %2　仓库：%3 %4").arg(itemCode, itemName, warehouseCode, warehouse);
}

void showRowStockCard(Connection& connection, const ResultTableModel& table, int row, bool byBatch,
                      const std::string& from, const std::string& to, QWidget* parent) {
    const auto cell = [&](const char* field) {
        return table.index(row, table.columnOf(field)).data().toString();
    };
    StockCardCriteria card{cell("仓库编码").toStdString(), cell("存货编码").toStdString(),
                           std::nullopt, from, to};
    if (byBatch)
        card.batch = cell("批号").toStdString();
    showStockCard(
        connection, card,
        stockCardSubject(cell("存货编码"), cell("存货名称"), cell("仓库编码"), cell("仓库")),
        parent);
}
