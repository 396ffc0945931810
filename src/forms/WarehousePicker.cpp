#include "WarehousePicker.h"

#include "MessageBoxes.h"
#include "WarehouseList.h"
#include "result/DbError.h"
#include "table/Warehouses.h"

#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
constexpr int kClientWidth = 361;
constexpr int kClientHeight = 526;
} // namespace

WarehousePicker::WarehousePicker(Connection& connection, QListWidget& target, int topBarHeight,
                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      ado_store(connection), target_(target) {
    setWindowTitle("仓库选择");
    setFixedSize(kClientWidth, kClientHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setFixedHeight(topBarHeight);
    layout->addWidget(Panel1);
    Button1 = new QPushButton("确定", Panel1);
    Button1->setGeometry(12, 4, 55, 25);
    Button1->setAutoDefault(false);
    clb_store = new QListWidget(this);
    clb_store->setUniformItemSizes(true);
    layout->addWidget(clb_store);
    connect(Button1, &QPushButton::clicked, this, &WarehousePicker::Button1Click);
}

void WarehousePicker::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void WarehousePicker::FormShow() {
    std::vector<Warehouse> warehouses;
    try {
        warehouses = readWarehouses(ado_store);
    } catch (const DbError&) {
        showPrompt(this, "读取仓库信息出错，请与系统管理员联系！");
        return;
    }
    clb_store->clear();
    clb_store->setUpdatesEnabled(false);
    for (const Warehouse& warehouse : warehouses) {
        QListWidgetItem* item = appendWarehouseLine(
            *clb_store, warehouseLine(warehouse.code, warehouse.name), warehouse.code);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked); // rows as high as the platform makes them
    }
    clb_store->setUpdatesEnabled(true);
    afterFill();
}

void WarehousePicker::Button1Click() {
    target_.clear();
    for (int i = 0; i < clb_store->count(); ++i) {
        const QListWidgetItem* item = clb_store->item(i);
        if (item->checkState() == Qt::Checked)
            appendWarehouseLine(target_, item->text(), warehouseLineCode(*item));
    }
    accept();
}
