#include "WarehouseStatement.h"

std::vector<std::string> warehouseStatement() {
    return {"select cwhcode,cwhname", "from warehouse", "order by cwhcode"};
}
