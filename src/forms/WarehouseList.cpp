#include "WarehouseList.h"

#include "db/ResultQuery.h"
#include "stock/WarehouseStatement.h"
#include "table/CellText.h"

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

std::vector<Warehouse> readWarehouses(ResultQuery& query) {
    query.close();
    query.clearStatement();
    for (const std::string& line : warehouseStatement())
        query.appendLine(line);
    query.open();
    const ResultColumn& codes = query.result().column(query.fieldIndex("cwhcode"));
    const ResultColumn& names = query.result().column(query.fieldIndex("cwhname"));
    const CellText text;
    std::vector<Warehouse> warehouses;
    for (std::size_t position = 0; position < query.rowCount(); ++position) {
        const std::size_t row = query.rowAt(position);
        warehouses.push_back({text(codes, row), text(names, row)});
    }
    return warehouses;
}
