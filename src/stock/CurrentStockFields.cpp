#include "CurrentStockFields.h"

const std::vector<FieldDecl>& currentStockFields() {
    static const std::vector<FieldDecl> fields = {
        {"仓库名称", FieldKind::Text},        {"存货编码", FieldKind::Text},
        {"存货名称", FieldKind::Text},        {"规格型号", FieldKind::Text},
        {"存货代码", FieldKind::Text},        {"批号", FieldKind::Text},
        {"存货备注", FieldKind::Text},        {"现存量", FieldKind::Decimal},
        {"可用数量", FieldKind::Decimal},     {"待发货数量", FieldKind::Decimal},
        {"待入库数量", FieldKind::Decimal},   {"调拨在途数量", FieldKind::Decimal},
        {"调拨待发数量", FieldKind::Decimal}, {"冻结量", FieldKind::Decimal},
        {"仓库编码", FieldKind::Text},
    };
    return fields;
}
