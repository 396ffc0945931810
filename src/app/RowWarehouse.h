#pragma once

#include "table/Warehouses.h"

#include <QString>

#include <functional>

class Connection;
class ResultGrid;
class WindowWork;

// What a current-stock row says of its item, batch and warehouse (by the code the grid does
// not show).
struct StockRowCells {
    QString itemCode;
    QString itemName;
    QString batch;
    QString warehouseCode;
};

// Reads the warehouses as `work` (its status text `opening`) and gives the current row of
// `grid` with its warehouse to `use`; nothing when there is no row, the work is busy, the read
// failed or the warehouse is gone.
using RowWarehouseUse = std::function<void(const StockRowCells&, const Warehouse&)>;
void withRowWarehouse(WindowWork& work, Connection& connection, const ResultGrid& grid,
                      const QString& opening, const RowWarehouseUse& use);
