#include "WarehouseList.h"

#include <QListWidget>

namespace {
constexpr int kCodeRole = Qt::UserRole;
}

QString warehouseLine(const QString& code, const QString& name) {
    return code + "-" + name;
}

QListWidgetItem* appendWarehouseLine(QListWidget& list, const QString& line, const QString& code) {
    auto* item = new QListWidgetItem(line, &list);
    item->setData(kCodeRole, code);
    return item;
}

QString warehouseLineCode(const QListWidgetItem& line) {
    return line.data(kCodeRole).toString();
}

std::vector<std::string> warehouseCodes(const QListWidget& list) {
    std::vector<std::string> codes;
    for (int i = 0; i < list.count(); ++i)
        codes.push_back(warehouseLineCode(*list.item(i)).toStdString());
    return codes;
}
