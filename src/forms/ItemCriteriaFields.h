#pragma once

#include "BoxText.h"
#include "WarehouseList.h"
#include "result/ItemCriteria.h"

class QLineEdit;
class QListWidget;
class QPushButton;

// A window's item criteria under the names its callers use: 仓库 >> (BitBtn1) and the chosen
// warehouses, then 存货编码, 存货代码, 规格型号 and 存货名称.
struct ItemCriteriaFields {
    QPushButton* BitBtn1 = nullptr;
    QListWidget* lbb_store = nullptr;
    QLineEdit* edt_code = nullptr;
    QLineEdit* edt_no = nullptr;
    QLineEdit* edt_spec = nullptr;
    QLineEdit* edt_name = nullptr;

    // The chosen warehouses and the four boxes into a criteria record, trimmed as typed.
    void readItemCriteria(ItemCriteria& criteria) const {
        criteria.warehouseCodes = warehouseCodes(*lbb_store);
        criteria.itemCode = trimmedBoxText(*edt_code);
        criteria.addCode = trimmedBoxText(*edt_no);
        criteria.spec = trimmedBoxText(*edt_spec);
        criteria.name = trimmedBoxText(*edt_name);
    }
};
