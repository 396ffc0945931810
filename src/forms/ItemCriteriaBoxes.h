#pragma once

#include "BoxText.h"
#include "WarehouseList.h"

// The chosen warehouses and the four item boxes (存货编码, 存货代码, 规格型号, 存货名称) of a
// window into its criteria record, trimmed as typed.
template <typename Criteria>
void readItemCriteria(Criteria& criteria, const QListWidget& warehouses, const QLineEdit& code,
                      const QLineEdit& addCode, const QLineEdit& spec, const QLineEdit& name) {
    criteria.warehouseCodes = warehouseCodes(warehouses);
    criteria.itemCode = trimmedBoxText(code);
    criteria.addCode = trimmedBoxText(addCode);
    criteria.spec = trimmedBoxText(spec);
    criteria.name = trimmedBoxText(name);
}
