#include "export/Cp936.h"
#include "export/TDBGridExportAsHTML.h"
#include "export/TDBGridExportAsRTF.h"
#include "export/TDBGridExportAsXLS.h"
#include "support/Bytes.h"
#include "support/ExportFixture.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The records of a BIFF stream: type and data.
struct BiffRecord {
    unsigned type;
    std::string data;
    unsigned word(std::size_t at) const {
        return static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8;
    }
};

std::vector<BiffRecord> records(const std::string& bytes) {
    std::vector<BiffRecord> list;
    for (std::size_t at = 0; at + 4 <= bytes.size();) {
        const BiffRecord head{0, bytes.substr(at, 4)};
        const unsigned length = head.word(2);
        list.push_back({head.word(0), bytes.substr(at + 4, length)});
        at += 4 + length;
    }
    return list;
}

double numberOf(const BiffRecord& record) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, record.data.data() + 6, 8);
    return std::bit_cast<double>(bits);
}

} // namespace

TEST(HtmlExport, APageWithOneTableWhoseCellsCarryWidthAlignmentColourAndFont) {
    ExportFixture f;
    f.open();
    const std::string html = f.written(TDBGridExportAsHTML());
    EXPECT_TRUE(html.starts_with(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=gbk\">\r\n"
        "<TITLE>\r\ndbg_test\r\n</TITLE>\r\n</HEAD>\r\n"
        "<TABLE BORDER=1 CELLSPACING=0 CELLPADDING=2 BGCOLOR=#F0F0F0>\r\n\r\n<TR>\r\n"));
    EXPECT_TRUE(
        contains(html, cp936("  <TD WIDTH=71 ALIGN=\"CENTER\"><FONT STYLE=\"font-family: "
                             "宋体; font-size: 9pt; color: #000000\">数量</FONT></TD>\r\n")));
    EXPECT_TRUE(contains(html, cp936("  <TD WIDTH=71 ALIGN=\"RIGHT\" BGCOLOR=#FFFFFF><FONT "
                                     "STYLE=\"font-family: 宋体; font-size: 9pt; color: "
                                     "#000000\">12.5</FONT></TD>\r\n")));
    EXPECT_TRUE(contains(html, ">x&lty &amp z</FONT>"));
    EXPECT_TRUE(contains(html, "#000000\">&nbsp</FONT>")); // an empty name and a null quantity
    // The footer: light orange, 11-point bold.
    EXPECT_TRUE(contains(html, cp936("  <TD WIDTH=86 ALIGN=\"LEFT\" BGCOLOR=#FFB366><FONT "
                                     "STYLE=\"font-family: 宋体; font-size: 11pt; color: "
                                     "#000000\"><B>合计</B></FONT></TD>\r\n")));
    EXPECT_TRUE(html.ends_with("</TR>\r\n</TABLE>\r\n</BODY>\r\n</HTML>\r\n"));
}

TEST(HtmlExport, StylesOpenAndCloseInOrderAndForeignCharactersStay) {
    ExportFixture f;
    f.layout.columns = {f.layout.columns[0]};
    f.layout.columns[0].footer.font.underline = true;
    f.layout.columns[0].caption = "😀 2.5mm² µ";
    f.open("0");
    const std::string html = f.written(TDBGridExportAsHTML());
    EXPECT_TRUE(contains(html, cp936("<B><U>合计</B></U></FONT>"))) << html;
    // Latin-1 characters by name: LibreOffice misreads numeric references below 256.
    EXPECT_TRUE(contains(html, ">&#128512; 2.5mm&sup2; &micro;</FONT>"));
}

TEST(RtfExport, TablesFirstThenOneRowPerRecordWithWidthsInTwips) {
    ExportFixture f;
    f.layout.columns[1].caption = "名{称}\\";
    f.open();
    const std::string rtf = f.written(TDBGridExportAsRTF());
    EXPECT_TRUE(rtf.starts_with(
        "{\\rtf0\\ansi\\ansicpg936\r\n{\\colortbl\\red0\\green0\\blue0;\\red255\\green255"
        "\\blue255;\\red240\\green240\\blue240;\\red255\\green179\\blue102;}"
        "\r\n" +
        cp936("{\\fonttbl\\f0\\fnil\\fcharset134 宋体;}\r\n\\trowd\\trgaph40\r\n")));
    EXPECT_TRUE(contains(rtf, "\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n"
                              "\\clbrdrb\\brdrs\\brdrcf0\r\n\\clbrdrr\\brdrs\\brdrcf0\r\n"
                              "\\clcbpat2\\cellx1290\r\n"));
    // 86 + 198 + 71 + 53 + 69 pixels at 15 twips each.
    EXPECT_TRUE(contains(rtf, "\\cellx7155\r\n{\\trrh0\r\n"));
    EXPECT_TRUE(contains(rtf, "\\pard\\intbl{\\qc\\sb55\\sa55\\fs18\\f0\\cf0\\cb2 " +
                                  cp936("名\\{称\\}\\\\") + "\\cell}\r\n"));
    EXPECT_TRUE(contains(rtf, "\\pard\\intbl{\\qr\\sb24\\sa24\\fs18\\f0\\cf0\\cb1 12.5\\cell}"));
    EXPECT_TRUE(contains(rtf, "{\\ql\\sb24\\sa24\\fs22\\b\\f0\\cf0\\cb3 " + cp936("合计")));
    EXPECT_TRUE(rtf.ends_with("\\pard\\intbl\\row}\r\n}"));
}

TEST(XlsExport, RecordsForTitlesValuesBlanksAndTheFooter) {
    ExportFixture f;
    f.open();
    const std::string bytes = f.written(TDBGridExportAsXLS());
    // Beginning of file, then the code page: 936.
    EXPECT_EQ(bytes.substr(0, 18), std::string("\x09\x08\x08\x00\x00\x00\x10\x00\x00\x00\x00\x00"
                                               "\x42\x00\x02\x00\xA8\x03",
                                               18));
    EXPECT_TRUE(bytes.ends_with(std::string("\x0A\x00\x00\x00", 4)));
    const std::vector<BiffRecord> list = records(bytes);
    ASSERT_EQ(list.size(), 3u + 5 * 5); // five rows of five cells, begin, code page, end
    const auto cell = [&](unsigned row, unsigned column) -> const BiffRecord& {
        return list[2 + row * 5 + column];
    };
    for (unsigned row = 0; row < 5; ++row)
        for (unsigned column = 0; column < 5; ++column) {
            EXPECT_EQ(cell(row, column).word(0), row);
            EXPECT_EQ(cell(row, column).word(2), column);
        }
    // Titles are text cells: "数量" is 4 bytes, the record 12.
    EXPECT_EQ(cell(0, 2).type, 0x0204u);
    EXPECT_EQ(cell(0, 2).data.size(), 12u);
    EXPECT_EQ(cell(0, 2).data.substr(8), cp936("数量"));
    EXPECT_EQ(cell(1, 2).type, 0x0203u);
    EXPECT_EQ(numberOf(cell(1, 2)), 12.5);
    EXPECT_EQ(cell(1, 3).type, 0x0203u);
    EXPECT_EQ(numberOf(cell(1, 3)), 1.25);
    // A null is a blank cell with format 23; the row's later cells keep their places.
    EXPECT_EQ(cell(2, 2).type, 0x0201u);
    EXPECT_EQ(cell(2, 2).word(4), 0x17u);
    EXPECT_EQ(cell(3, 4).type, 0x0201u);
    EXPECT_EQ(cell(2, 1).data.substr(8), "x<y & z");
    // The footer row: "合计" in column 0, the sums as numbers, empty texts elsewhere.
    EXPECT_EQ(cell(4, 0).data.substr(8), cp936("合计"));
    EXPECT_EQ(cell(4, 1).type, 0x0204u);
    EXPECT_EQ(cell(4, 1).word(6), 0u);
    EXPECT_EQ(numberOf(cell(4, 3)), 3.25);
}

TEST(XlsExport, AnEmptyResultHoldsTitlesAndFooterOnly) {
    ExportFixture f;
    f.open("0");
    const std::vector<BiffRecord> list = records(f.written(TDBGridExportAsXLS()));
    ASSERT_EQ(list.size(), 3u + 2 * 5);
    EXPECT_EQ(list[7].word(0), 1u);
    EXPECT_EQ(list[7].data.substr(8), cp936("合计"));
    EXPECT_EQ(numberOf(list[9]), 0.0);
}

TEST(XlsExport, AWorksheetTakesNoMoreRowsThanItCanNumberAndCutsOverlongTexts) {
    ExportFixture f;
    f.open("0");
    f.query.close();
    f.query.clearStatement();
    // 65,535 records: with titles and footer one row more than a worksheet numbers.
    f.query.appendLine("with recursive n(i) as (select 1 union all select i + 1 from n where "
                       "i < 65535) select 'A' code, '' name, 1 qty, 1.0 price, null day from n");
    f.query.open();
    TDBGridExportAsXLS writer;
    std::ostringstream out;
    EXPECT_THROW(writer.WriteGridToStream(out, f.layout, f.query), std::exception);
    EXPECT_EQ(out.str(), "");
    // A text of 40,000 Chinese characters is cut to the 32,763 that fit one record.
    f.query.close();
    f.query.clearStatement();
    f.query.appendLine("with recursive s(t) as (select '中' union all select t || t from s "
                       "where length(t) < 40000) select 'A' code, substr(max(t), 1, 40000) "
                       "name, 1 qty, 1.0 price, null day from s");
    f.query.open();
    const std::vector<BiffRecord> list = records(f.written(TDBGridExportAsXLS()));
    ASSERT_EQ(list.size(), 3u + 3 * 5);
    EXPECT_EQ(list[8].word(6), 65526u);
    EXPECT_EQ(list[8].data.size(), 8u + 65526);
    EXPECT_EQ(list[8].data.substr(8, 4), cp936("中中"));
}

TEST(RtfExport, ALineBreakInsideAValueIsAnRtfLineBreak) {
    ExportFixture f;
    f.layout.columns = {f.layout.columns[1]};
    f.open("id = 1");
    f.layout.columns[0].caption = "第一行\r\n第二行\n第三行\r第四行";
    const std::string rtf = f.written(TDBGridExportAsRTF());
    EXPECT_TRUE(contains(rtf, cp936("第一行\\line 第二行\\line 第三行\\line 第四行\\cell}")));
}
