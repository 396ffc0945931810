#include "JournalFields.h"

const std::vector<FieldDecl>& journalFields() {
    using enum FieldKind;
    static const std::vector<FieldDecl> fields = {
        {"收发标志", Text},     {"客户", Text},         {"供应商简称", Text},   {"单据类型", Text},
        {"业务类型", Text},     {"单据来源", Text},     {"对应业务单号", Text}, {"仓库", Text},
        {"单据日期", DateTime}, {"审核日期", DateTime}, {"单据号", Text},       {"收发类别", Text},
        {"部门编码", Text},     {"部门", Text},         {"制单人", Text},       {"存货编码", Text},
        {"存货名称", Text},     {"规格型号", Text},     {"存货代码", Text},     {"单价", Double},
        {"金额", Decimal},      {"存货备注", Text},     {"生产订单", Text},     {"批次", Text},
        {"入库数量", Double},   {"出库数量", Double},   {"来源订单号", Text},   {"订单号", Text},
        {"到货单号", Text},     {"仓库编码", Text},
    };
    return fields;
}
