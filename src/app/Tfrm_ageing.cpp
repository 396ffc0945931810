#include "Tfrm_ageing.h"

#include "Tfrm_crquery.h"
#include "Tfrm_stockcard.h"
#include "forms/ConnectionStatus.h"
#include "forms/FormParts.h"
#include "forms/MessageBoxes.h"
#include "forms/ModalDialog.h"
#include "forms/Tfrm_store.h"
#include "forms/UserManual.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "ledger/AgeingQuery.h"
#include "ledger/CalendarDays.h"
#include "settings/AgeingPreferences.h"
#include "table/ResultTableModel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

Tfrm_ageing* frm_ageing = nullptr;

namespace {

constexpr int kCriteriaPanelHeight = 84;
constexpr int kStatusBarHeight = 31;

// The charts of rows with these bands: each warehouse's stock by age, stacked (by code, so
// that warehouses of one name stay apart), and the items with the most of the oldest stock.
std::vector<ChartRequest> ageingCharts(const AgeingBands& bands) {
    const std::vector<std::string> titles = ageingBandTitles(bands);
    return {{.title = "各仓库库龄分布",
             .key = "仓库编码",
             .values = titles,
             .name = "仓库",
             .stacked = true},
            {.title = QString::fromStdString(titles.back()) + "库存最多的 20 种存货",
             .key = "存货编码",
             .values = {titles.back()},
             .name = "存货名称",
             .largest = 20}};
}

} // namespace

Tfrm_ageing::Tfrm_ageing(Connection& connection, QWidget* parent)
    : QueryDialog(connection, ageingQuery(kDefaultAgeingBands, false).shape,
                  {.queryFailure = "读取库龄分析出错！",
                   .exportPrefix = "库龄分析-",
                   .exportFailure = "库龄分析数据输出未完成！",
                   .charts = ageingCharts(kDefaultAgeingBands)},
                  parent) {
    setManualPage(*this, "ageing");
    QWidget* criteria = buildCriteriaPanel();
    buildFrame(this, {QSize(980, 500), {}, kStatusBarHeight, "", 14}, criteria,
               {BitBtn1, chk_batch, edt_bands});
    act_rowJournal = addMenuEntry(
        "查看出入库流水", [this] { ShowRowJournal(); }, QKeySequence(Qt::CTRL | Qt::Key_J));
    act_rowCard = addMenuEntry(
        "查看库存台账", [this] { ShowRowCard(); }, QKeySequence(Qt::CTRL | Qt::Key_L));
}

QWidget* Tfrm_ageing::buildCriteriaPanel() {
    const ItemCriteriaPanel criteria(this, kCriteriaPanelHeight, *this);
    QFrame* panel = criteria.panel;
    criterionLabel(panel, "截止日期", 207, 40);
    date_asof = criterionDate(panel, "date_asof", 257);
    chk_batch = new QCheckBox("按批次", panel);
    chk_batch->setObjectName("chk_batch");
    chk_batch->setGeometry(370, 36, 80, 20);
    criterionLabel(panel, "库龄分段", 455, 40);
    edt_bands = criterionBox(panel, "edt_bands", 505, 36, 160);
    edt_bands->setToolTip("各段的最后一天，递增的整天数，以逗号分隔，最多 12 个");
    criterionLabel(panel, "天", 669, 40);
    runQueryOnEnterIn({edt_code, edt_no, edt_spec, edt_name, edt_bands});
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_ageing::BitBtn1Click);
    chainTabOrder({BitBtn1, lbb_store, edt_code, edt_no, edt_spec, edt_name, date_asof, chk_batch,
                   edt_bands});
    return panel;
}

void Tfrm_ageing::showDefaults() {
    date_asof->setDate(QDate::currentDate());
    const std::string stored = readAgeingBands();
    AgeingBands bands = kDefaultAgeingBands;
    try {
        bands = parseAgeingBands(stored);
    } catch (const AgeingBandsError&) {
        // none stored, or bands no longer usable: the default ones
    }
    edt_bands->setText(QString::fromStdString(ageingBandsText(bands)));
}

void Tfrm_ageing::BitBtn1Click() {
    showModalOnce(frm_store, connection_, *lbb_store, nullptr);
}

void Tfrm_ageing::RunQuery() {
    if (work().busy())
        return;
    AgeingCriteria criteria;
    readItemCriteria(criteria);
    criteria.asOf = isoDate(*date_asof);
    criteria.byBatch = chk_batch->isChecked();
    try {
        criteria.bands = parseAgeingBands(edt_bands->text().toStdString());
    } catch (const AgeingBandsError&) {
        showPrompt(this, "库龄分段应为 1 至 36500 之间递增的整天数，以逗号分隔，最多 12 "
                         "个，例如 30,60,90,180,365。");
        edt_bands->setFocus();
        return;
    }
    const QueryDefinition<AgeingCriteria>& query = ageingQuery(criteria.bands, criteria.byBatch);
    // Other bands or rows per batch are other columns.
    if (criteria.byBatch != rowsPerBatch_ || criteria.bands != shownBands_) {
        changeShape(query.shape);
        resultUse().charts = ageingCharts(criteria.bands);
        rowsPerBatch_ = criteria.byBatch;
        shownBands_ = criteria.bands;
    }
    if (runStatement(query.statement(criteria), query.describe(criteria))) {
        shown_ = criteria;
        writeAgeingBands(ageingBandsText(criteria.bands));
    }
}

QString Tfrm_ageing::rowCell(int row, const char* field) const {
    const ResultTableModel& table = *grid()->model();
    return table.index(row, table.columnOf(field)).data().toString();
}

void Tfrm_ageing::ShowRowJournal() {
    const int row = grid()->body()->currentRow();
    if (work().busy() || row < 0)
        return;
    const Warehouse warehouse{rowCell(row, "仓库编码"), rowCell(row, "仓库")};
    const QString item = rowCell(row, "存货编码");
    showModalOncePrepared<Tfrm_crquery>(
        frm_crquery, [&](Tfrm_crquery& journal) { journal.QueryFor(item, {warehouse}); },
        connection_, this);
}

void Tfrm_ageing::ShowRowCard() {
    const int row = grid()->body()->currentRow();
    // Over the bands' span up to the as-of day: the receipts the stock is made of.
    if (!work().busy() && row >= 0)
        showRowStockCard(connection_, *grid()->model(), row, shown_.byBatch,
                         daysBefore(shown_.asOf, shown_.bands.back()), shown_.asOf, this);
}
