#include "Warehouses.h"

#include "CellText.h"
#include "db/ResultQuery.h"
#include "stock/WarehouseStatement.h"

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
