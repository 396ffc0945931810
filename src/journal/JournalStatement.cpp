#include "JournalStatement.h"

#include "result/SqlText.h"

#include <array>
#include <string_view>

namespace {

// Before and after the line that names the warehouse.
constexpr std::array<std::string_view, 2> kLinesBeforeWarehouse = {
    "select  case a.bRdFlag when 1 then '收' when 0 then '发' end 收发标志,h.cCusAbbName "
    "客户,k.cVenAbbName 供应商简称,  ",
    "        c.cVouchName 单据类型,a.cBusType 业务类型,a.cSource 单据来源,     ",
};
constexpr std::array<std::string_view, 25> kLinesAfterWarehouse = {
    "        a.dDate 单据日期,a.dVeriDate 审核日期,a.cCode 单据号,    ",
    "        e.cRdName 收发类别,                           ",
    "        a.cDepCode 部门编码,f.cDepName 部门,     ",
    "        a.cMaker 制单人,                      ",
    "        b.cInvCode 存货编码,g.cInvName 存货名称,g.cInvstd 规格型号,     ",
    "        g.cInvAddCode 存货代码,",
    "                        case    ",
    "         when a.brdflag=1 then b.iQuantity    ",
    "         else null          ",
    "      end 入库数量,        ",
    "       case               ",
    "         when a.brdflag=0 then b.iQuantity   ",
    "         else null         ",
    "       end 出库数量,       ",
    "  b.iUnitCost 单价,b.iPrice 金额,    ",
    "        b.cFree1 存货备注 ,b.cCheckCode 来源订单号,a.cMPoCode 生产订单,b.cbatch "
    "批次,b.cPOid 订单号,a.cARVCode 到货单号   ",
    " from rdrecords b inner join       ",
    "      rdrecord a on a.id = b.id inner join  ",
    "      VouchType c on a.cVouchType = c.cVouchType left outer join   ",
    "      Warehouse d on a.cWhCode = d.cWhCode left outer join         ",
    "      Rd_Style e on a.cRdCode = e.cRdCode left outer  join        ",
    "      Department f on a.cDepCode = f.cDepCode left outer join      ",
    "      Inventory g on b.cInvCode = g.cInvCode left outer join       ",
    "      Customer h on a.cCusCode = h.cCusCode  left outer join       ",
    "      Vendor k on a.cVenCode = k.cVenCode                          ",
};

} // namespace

std::vector<std::string> journalStatement(const JournalCriteria& c) {
    std::vector<std::string> lines(kLinesBeforeWarehouse.begin(), kLinesBeforeWarehouse.end());
    lines.push_back("        a.cBusCode 对应业务单号," + warehouseLabel("d") +
                    " 仓库,d.cWhCode 仓库编码,                 ");
    lines.insert(lines.end(), kLinesAfterWarehouse.begin(), kLinesAfterWarehouse.end());
    lines.push_back(sharedWarehouseNames("d", "Warehouse"));
    lines.emplace_back(" where (1=1) and                                                   ");
    if (!c.warehouseCodes.empty())
        lines.push_back("  d.cWhCode in(" + quotedCodeList(c.warehouseCodes) + ") and ");
    lines.push_back(criterionLine(c.itemCode, "'='' or b.cInvCode like '", "' ) and "));
    lines.push_back(criterionLine(c.addCode, "'='' or g.cInvAddCode like '", "' )  and "));
    lines.push_back(criterionLine(c.spec, "'='' or g.cInvStd like '", "' )  and "));
    lines.push_back(criterionLine(c.name, "'='' or g.cInvName like '", "' ) and "));
    lines.push_back("  a.dDate between " + sqlLiteral(c.dateFrom) + " and " + sqlLiteral(c.dateTo) +
                    " and ");
    const std::string flag = sqlLiteral(c.flag);
    lines.push_back("  ( (" + flag + " = '' ) or (" + flag + "='收' and a.bRdFlag = 1 ) or (" +
                    flag + "='发' and a.bRdFlag = 0 )) and  ");
    const std::string source = sqlLiteral(c.source);
    lines.push_back("  (" + source + "='' or a.cSource = " + source + " ) and  ");
    lines.push_back(criterionLine(c.productionOrder, "'='' or a.cMPoCode like '", "') and  "));
    lines.push_back(criterionLine(c.documentNumber, "'='' or a.cCode like '", "') "));
    return lines;
}
