#pragma once

#include <array>
#include <string_view>

// Plausible Simplified Chinese master data, combined by the generator.
namespace demo_names {

using std::string_view;

inline constexpr std::array<string_view, 24> kWarehouses = {
    "原材料库", "成品库", "半成品库", "辅料库", "包装物库", "五金库",   "备品备件库", "电子料库",
    "化工库",   "委外库", "退货库",   "待检库", "不良品库", "样品库",   "办公用品库", "劳保库",
    "模具库",   "设备库", "废料库",   "周转库", "华东分仓", "华南分仓", "华北分仓",   "西南分仓"};

inline constexpr std::array<string_view, 12> kMaterials = {
    "不锈钢", "碳钢", "铝合金",   "黄铜", "工程塑料", "丁腈橡胶",
    "尼龙",   "陶瓷", "钢化玻璃", "纯棉", "镀锌",     "硅胶"};

inline constexpr std::array<string_view, 20> kObjects = {
    "螺栓",     "螺母",     "垫片", "深沟球轴承", "齿轮",     "法兰",  "球阀",
    "压缩弹簧", "步进电机", "电阻", "电容",       "电源线缆", "外壳",  "前面板",
    "安装支架", "包装箱",   "标签", "密封胶带",   "导轨",     "联轴器"};

inline constexpr std::array<string_view, 12> kSpecs = {
    "M8×30",       "M10×50",    "φ20",      "φ35×2",      "10kΩ 1/4W", "100μF 25V",
    "500×300×200", "DN50 PN16", "6204-2RS", "2.5mm² 3芯", "A4 80g",    "1200mm"};

inline constexpr std::array<string_view, 10> kUnits = {"个",   "件", "只", "套", "箱",
                                                       "千克", "米", "卷", "张", "台"};

inline constexpr std::array<string_view, 10> kDepartments = {
    "采购部", "销售部", "生产一车间", "生产二车间", "仓储部",
    "质检部", "研发部", "财务部",     "外协部",     "售后服务部"};

inline constexpr std::array<string_view, 15> kCities = {"北京", "上海", "广州", "深圳", "杭州",
                                                        "南京", "苏州", "武汉", "成都", "天津",
                                                        "重庆", "西安", "宁波", "青岛", "厦门"};

inline constexpr std::array<string_view, 10> kTradeNames = {
    "华兴", "恒达", "金盛", "宏远", "永安", "天成", "东方", "新世纪", "盛世", "利民"};

inline constexpr std::array<string_view, 5> kCompanyKinds = {
    "贸易有限公司", "科技有限公司", "电子有限公司", "机械制造有限公司", "实业有限公司"};

inline constexpr std::array<string_view, 12> kSurnames = {"王", "李", "张", "刘", "陈", "杨",
                                                          "赵", "黄", "周", "吴", "徐", "孙"};
inline constexpr std::array<string_view, 12> kGivenNames = {"伟", "芳", "娜", "敏", "静", "丽",
                                                            "强", "磊", "军", "洋", "勇", "艳"};

inline constexpr std::array<string_view, 6> kRemarks = {"红色", "蓝色", "A级",
                                                        "B级",  "进口", "国产"};

// Every document source the journal can filter by.
inline constexpr std::array<string_view, 13> kSources = {
    "来料检验单", "产品检验单", "采购到货单", "委外到货单", "采购订单", "委外订单", "生产订单",
    "发货单",     "出口销货单", "领料申请单", "调拨",       "形态转换", "库存"};

inline constexpr std::array<string_view, 6> kReceiptBusTypes = {"普通采购", "成品入库", "其他入库",
                                                                "委外加工", "调拨入库", "盘盈入库"};
inline constexpr std::array<string_view, 6> kIssueBusTypes = {"普通销售", "领料",     "其他出库",
                                                              "委外发料", "调拨出库", "盘亏出库"};

// Names that reach the quoting and wildcard cases of the criteria boxes.
inline constexpr std::array<string_view, 4> kAwkwardItemNames = {"O'Brien 接头", "100%纯棉手套",
                                                                 "SKU_A 型支架", "50%_折扣'样品"};

} // namespace demo_names
