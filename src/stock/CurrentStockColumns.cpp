#include "CurrentStockColumns.h"

const std::vector<GridColumn>& currentStockColumns() {
    static const std::vector<GridColumn> columns = {
        {"存货编码", 86},     {"存货代码", 101},    {"规格型号", 88},   {"存货名称", 198},
        {"存货备注", 57},     {"批号", 77},         {"仓库名称", 101},  {"现存量", 71},
        {"可用数量", 77},     {"待发货数量", 86},   {"待入库数量", 70}, {"调拨待发数量", 88},
        {"调拨在途数量", 77}, {"冻结量", 58},
    };
    return columns;
}
