#include "CurrentStockColumns.h"

namespace {

// Every footer of this grid, the empty ones included, is "宋体" 14 pixels bold.
constexpr FooterFont kFooterFont{14, true};

GridColumn column(const char* field, int width, FooterValue footer = FooterValue::None,
                  bool titleButton = false) {
    return {field,      width, titleButton, footer, footer == FooterValue::StaticText ? "合计" : "",
            kFooterFont};
}

} // namespace

const std::vector<GridColumn>& currentStockColumns() {
    using enum FooterValue;
    static const std::vector<GridColumn> columns = {
        column("存货编码", 86, StaticText),
        column("存货代码", 101),
        column("规格型号", 88),
        column("存货名称", 198),
        column("存货备注", 57),
        column("批号", 77),
        column("仓库名称", 101),
        column("现存量", 71, Sum),
        column("可用数量", 77, Sum),
        column("待发货数量", 86, Sum),
        column("待入库数量", 70, Sum),
        column("调拨待发数量", 88, Sum),
        column("调拨在途数量", 77, Sum),
        column("冻结量", 58, Sum, true),
    };
    return columns;
}
