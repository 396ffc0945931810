#include "journal/JournalStatement.h"

#include <gtest/gtest.h>

namespace {

JournalCriteria firstQuarter() {
    JournalCriteria criteria;
    criteria.dateFrom = "2026-01-01";
    criteria.dateTo = "2026-03-15";
    return criteria;
}

// The nine criterion lines that follow the 29 fixed ones (and the warehouse line, if any).
std::vector<std::string> criterionLines(const JournalCriteria& criteria) {
    const std::vector<std::string> lines = journalStatement(criteria);
    return {lines.end() - 9, lines.end()};
}

} // namespace

TEST(JournalStatement, EmptyCriteriaRestrictOnlyTheDates) {
    const std::vector<std::string> lines = journalStatement(firstQuarter());
    ASSERT_EQ(lines.size(), 39u);
    EXPECT_EQ(lines.front(), "select  case a.bRdFlag when 1 then '收' when 0 then '发' end "
                             "收发标志,h.cCusAbbName 客户,k.cVenAbbName 供应商简称,  ");
    EXPECT_EQ(lines[19], " from rdrecords b inner join       ");
    EXPECT_EQ(lines[29], " where (1=1) and                                                   ");
    const std::vector<std::string> expected = {
        "  (''='' or b.cInvCode like '%%' ) and ",
        "  (''='' or g.cInvAddCode like '%%' )  and ",
        "  (''='' or g.cInvStd like '%%' )  and ",
        "  (''='' or g.cInvName like '%%' ) and ",
        "  a.dDate between '2026-01-01' and '2026-03-15' and ",
        "  ( ('' = '' ) or (''='收' and a.bRdFlag = 1 ) or (''='发' and a.bRdFlag = 0 )) and  ",
        "  (''='' or a.cSource = '' ) and  ",
        "  (''='' or a.cMPoCode like '%%') and  ",
        "  (''='' or a.cCode like '%%') ",
    };
    EXPECT_EQ(criterionLines(firstQuarter()), expected);
}

TEST(JournalStatement, EachCriterionFillsItsOwnLine) {
    JournalCriteria criteria = firstQuarter();
    criteria.itemCode = "AB";
    criteria.addCode = "A-1";
    criteria.spec = "M8";
    criteria.name = "螺栓";
    criteria.flag = "收";
    criteria.source = "调拨";
    criteria.productionOrder = "MO1";
    criteria.documentNumber = "0001";
    const std::vector<std::string> expected = {
        "  ('AB'='' or b.cInvCode like '%AB%' ) and ",
        "  ('A-1'='' or g.cInvAddCode like '%A-1%' )  and ",
        "  ('M8'='' or g.cInvStd like '%M8%' )  and ",
        "  ('螺栓'='' or g.cInvName like '%螺栓%' ) and ",
        "  a.dDate between '2026-01-01' and '2026-03-15' and ",
        "  ( ('收' = '' ) or ('收'='收' and a.bRdFlag = 1 ) or ('收'='发' and a.bRdFlag = 0 )) "
        "and  ",
        "  ('调拨'='' or a.cSource = '调拨' ) and  ",
        "  ('MO1'='' or a.cMPoCode like '%MO1%') and  ",
        "  ('0001'='' or a.cCode like '%0001%') ",
    };
    EXPECT_EQ(criterionLines(criteria), expected);
}

TEST(JournalStatement, WarehousesAddOneLineBeforeTheCriteria) {
    JournalCriteria criteria = firstQuarter();
    criteria.warehouseCodes = {"01", "03"};
    const std::vector<std::string> lines = journalStatement(criteria);
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(lines[30], "  d.cWhCode in('01','03') and ");
}

TEST(JournalStatement, QuotesAreDoubledInEveryLiteral) {
    JournalCriteria criteria = firstQuarter();
    criteria.warehouseCodes = {"0'1"};
    criteria.name = "O'Brien";
    criteria.source = "x' or '1'='1";
    criteria.documentNumber = "'; --";
    const std::vector<std::string> lines = journalStatement(criteria);
    EXPECT_EQ(lines[30], "  d.cWhCode in('0''1') and ");
    EXPECT_EQ(lines[34], "  ('O''Brien'='' or g.cInvName like '%O''Brien%' ) and ");
    EXPECT_EQ(lines[37], "  ('x'' or ''1''=''1'='' or a.cSource = 'x'' or ''1''=''1' ) and  ");
    EXPECT_EQ(lines[39], "  ('''; --'='' or a.cCode like '%''; --%') ");
}

TEST(JournalStatement, TextsOutsideCodePage936GoInAsUnicodeLiterals) {
    JournalCriteria criteria = firstQuarter();
    criteria.documentNumber = "№7"; // in code page 936: stays a plain literal
    criteria.productionOrder = "MO-ǅ";
    criteria.source = "调拨";
    const std::vector<std::string> lines = journalStatement(criteria);
    ASSERT_EQ(lines.size(), 39U);
    EXPECT_EQ(lines[36], "  ('调拨'='' or a.cSource = '调拨' ) and  ");
    EXPECT_EQ(lines[37], "  (N'MO-ǅ'='' or a.cMPoCode like N'%MO-ǅ%') and  ");
    EXPECT_EQ(lines[38], "  ('№7'='' or a.cCode like '%№7%') ");
}
