#include "RowWarehouse.h"

#include "db/ResultQuery.h"
#include "forms/WindowWork.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "table/ResultTableModel.h"

#include <algorithm>
#include <memory>

void withRowWarehouse(WindowWork& work, Connection& connection, const ResultGrid& grid,
                      const QString& opening, const RowWarehouseUse& use) {
    const int row = grid.body()->currentRow();
    if (work.busy() || row < 0)
        return;
    const ResultTableModel& table = *grid.model();
    const auto cell = [&](const char* field) {
        return table.index(row, table.columnOf(field)).data().toString();
    };
    const ResultSet& rows = table.query().result();
    const std::string_view code =
        rows.column(table.query().fieldIndex("仓库编码")).text(table.query().rowAt(row));
    const StockRowCells cells{cell("存货编码"), cell("存货名称"), cell("批号"),
                              QString::fromUtf8(code.data(), static_cast<qsizetype>(code.size()))};
    // The windows show the warehouse as its code and name.
    auto warehouses = std::make_shared<std::vector<Warehouse>>();
    work.start({
        [warehouses, &connection](WorkControl&) {
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
