#include "JournalColumns.h"

namespace {

constexpr FooterFont kBold14{14, true};

GridColumn column(const char* field, int width, bool titleButton,
                  std::optional<FooterFont> footerFont = kBold14,
                  FooterValue footer = FooterValue::None) {
    return {field,     width, titleButton, footer, footer == FooterValue::StaticText ? "合计" : "",
            footerFont};
}

} // namespace

const std::vector<GridColumn>& journalColumns() {
    using enum FooterValue;
    static const std::vector<GridColumn> columns = [] {
        std::vector<GridColumn> list = {
            column("收发标志", 33, true),
            column("收发类别", 55, false, kBold14, StaticText),
            column("业务类型", 67, false),
            column("部门", 71, false),
            column("单据来源", 77, false),
            // No result field carries this title; it shows the number of the document named
            // by the source column beside it.
            column("对应业务单号", 84, true, std::nullopt),
            column("生产订单", 72, true, std::nullopt),
            column("单据号", 107, false),
            column("单据日期", 69, false),
            column("入库数量", 66, true, kBold14, Sum),
            column("出库数量", 69, true, kBold14, Sum), // as every sum, not smaller
            column("仓库", 104, false),
            column("存货编码", 75, false),
            column("存货名称", 72, false),
            column("存货代码", 70, false),
            column("规格型号", 68, false),
            column("存货备注", 60, false),
            column("批次", 80, true, std::nullopt),
            column("单价", 53, false),
            column("金额", 67, true),
            column("订单号", 84, true, std::nullopt),
            column("到货单号", 78, true, std::nullopt),
            column("客户", 105, true),
            column("供应商简称", 122, true),
            column("审核日期", 79, true),
            column("制单人", 74, true),
        };
        list[5].title = "来源单据号";
        return list;
    }();
    return columns;
}
