// What a sheet carries besides its cells: fitted column widths, formulas that read other sheets,
// and the page setup, frozen panes, links and charts that the .xlsx writer writes.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/text_util.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_parts.h"
#include "workbook/excel_session.h"
#include "workbook/xlsx_writer.h"

namespace varnex {
namespace {

using testing::TempDir;
using testing::xmlCell;
using testing::zipPart;

struct Book {
    Book() { session.AddWorkbook(OmittedArgument); }
    ExcelSheet sheet(int position, const char* name) {
        ExcelSheet s = session.Sheet(position);
        s.SetName(name);
        return s;
    }
    const SheetModel& model(int position) { return *session.workbook().sheet(position); }
    ExcelSession session;
};

void put(ExcelSheet& sheet, const char* at, const char* value) {
    sheet.Range(at, at).SetValue(value);
}

TEST(SheetModel, ColumnsFitTheirLongestValue) {
    Book book;
    ExcelSheet s = book.sheet(1, "表");
    put(s, "A1", "一个合并在整行上的很长很长很长的标题");  // merged across: does not count
    s.Range("A1", "E1").Merge(1);
    put(s, "A3", "（未分班）班");          // 12 characters wide: (, ), 班 and the Chinese count two
    put(s, "B3", "第一中学");              // 8
    put(s, "B4", "学校");                  // shorter lines do not shrink it
    put(s, "C3", "语文\n（150分）");       // the longest line, 9
    s.Range("C3", "C6").Merge(0);          // merged down one column: counts
    put(s, "D3", "123456789012");          // a number of 12 digits
    put(s, "E3", "=AVERAGE(D3:D3)");       // formulas do not count
    put(s, "F3", "abc");                   // short: keeps the default width …
    put(s, "F4", "-1234.75");              // … but a number of 8 characters widens it
    put(s, "G3", "一二三四五六七八九十");  // its width was set: kept
    s.Range("G3", "G3").SetColumnWidth(5);
    s.AutoFitColumns();
    EXPECT_EQ(book.model(1).columnWidths,
              (std::map<int, double>{{0, 14}, {1, 10}, {2, 11}, {3, 14}, {5, 10}, {6, 5}}));
    // Seven columns: the fitted and set widths and one default one, in printed points.
    EXPECT_DOUBLE_EQ(s.UsedWidthPoints(),
                     0.75 * ((98 + 5) + (70 + 5) + (77 + 5) + (98 + 5) + (59 + 5) + (70 + 5) + (35 + 5)));
}

TEST(WorkbookModel, FormulasReadOtherSheetsAndCountsOutOfTexts) {
    Book book;
    ExcelSheet bands = book.sheet(2, "总分分数段");
    put(bands, "B4", " 12/45 ");
    put(bands, "B5", "1234/5000");
    put(bands, "C4", "=AVERAGE(D4:D5)");
    put(bands, "D4", "3");
    put(bands, "D5", "4");
    ExcelSheet other = book.sheet(3, "O'Neil");
    put(other, "A1", "7");
    ExcelSheet charts = book.sheet(1, "统计图表");
    const std::map<std::string, std::string> cases = {
        {"=VALUE(LEFT('总分分数段'!$B$4,FIND(\"/\",'总分分数段'!$B$4)-1))", "12"},
        {"=VALUE(LEFT('总分分数段'!B5,FIND(\"/\",'总分分数段'!B5)-1))", "1234"},
        {"='总分分数段'!$C$4", "3.5"},            // a formula of the other sheet, read there
        {"=AVERAGE('总分分数段'!D4:D5)*2", "7"},  // a range of another sheet
        {"='O''Neil'!A1+1", "8"},                 // a quote in the name is doubled
        {"=LEFT(\"第三名\",2)", "第三"},          // characters, not bytes
        {"=FIND(\"名\",\"第三名\")", "3"},
        {"=VALUE(\"x\")", "#VALUE!"},
        {"=FIND(\"/\",\"12\")", "#VALUE!"},
        {"='没有这张表'!A1", "#REF!"},
        {"=LEFT(\"ab\",-1)", "#VALUE!"},
        {"=ROUND(2049/60,1)", "34.2"},  // half away from zero on the decimal value
        {"=ROUND(0-0.05,1)", "-0.1"},
        {"=ROUND(1250,-2)", "1300"},
    };
    int row = 1;
    for (const auto& [formula, expected] : cases) put(charts, CellName(0, row++).c_str(), formula.c_str());
    book.session.workbook().recalculate();
    row = 0;
    for (const auto& [formula, expected] : cases) {
        const Value v = book.model(1).cell(row++, 0)->cached();
        EXPECT_EQ(v.isNumber() ? strprintf("%g", v.number) : v.text, expected) << formula;
    }
}

TEST(XlsxWriter, PageSetupPanesLinksAndChartsAreWrittenAroundUnchangedCells) {
    Book book;
    ExcelSheet data = book.sheet(2, "班级各科三率");
    put(data, "C4", "（1）班");
    put(data, "C5", "（2）班");
    put(data, "M4", "80.5");
    put(data, "M5", "90");
    ExcelSheet other = book.sheet(3, "12");
    put(other, "A1", "x");
    ExcelSheet first = book.sheet(1, "目录");
    ExcelRange name = first.Range("A2", "A2");
    name.BorderAround();
    name.SetData("班级各科三率");
    first.Range("A3", "A3").SetData("12");  // a tab name that reads as a number stays a number
    first.AddSheetLink("A2", "班级各科三率");
    first.AddSheetLink("A3", "12");
    PageSetup setup;
    setup.paperSize = PageSetup::kPaperA4;
    setup.landscape = true;
    setup.fitToPagesWide = 1;
    setup.titleFirstRow = 1;
    setup.titleLastRow = 3;
    setup.centerHorizontally = true;
    setup.centerHeader = "期中考试 - 目录";
    setup.centerFooter = "第 &P 页，共 &N 页";
    setup.rowBreaks = {25, 46};
    setup.printArea = CellRange{{0, 0}, {59, 9}};
    first.SetPageSetup(setup);
    first.FreezePanes("E4");
    ChartModel chart;
    chart.title = "语文各班平均分";
    chart.categoryAxisTitle = "班级";
    chart.valueAxisTitle = "平均分";
    chart.valueMin = 0;
    chart.series.push_back(
        {"平均分", {"班级各科三率", {{3, 12}, {4, 12}}}, SheetRange{"班级各科三率", {{3, 2}, {4, 2}}}});
    chart.series.push_back({"总平均分", {"班级各科三率", {{3, 12}, {4, 12}}}, std::nullopt, true});
    chart.anchor = {4, 0};
    first.AddChart(chart);
    EXPECT_THROW(first.AddSheetLink("A4", "没有这张表"), AutomationError);
    ChartModel stray = chart;
    stray.series[0].values.sheet = "没有这张表";
    EXPECT_THROW(first.AddChart(stray), AutomationError);

    TempDir dir;
    const std::string path = dir.file("out.xlsx");
    Status written = writeXlsx(book.session.workbook(), path);
    ASSERT_TRUE(written) << written.error();
    const std::string xml = zipPart(path, "xl/worksheets/sheet1.xml");
    EXPECT_NE(xml.find("<pageSetUpPr fitToPage=\"1\"/>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<pane xSplit=\"4\" ySplit=\"3\" topLeftCell=\"E4\" activePane=\"bottomRight\" "
                       "state=\"frozen\"/>"),
              std::string::npos);
    EXPECT_NE(xml.find("<printOptions horizontalCentered=\"1\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<pageSetup paperSize=\"9\" fitToHeight=\"0\" orientation=\"landscape\""),
              std::string::npos);
    EXPECT_NE(xml.find("<oddHeader>&amp;C期中考试 - 目录</oddHeader><oddFooter>&amp;C第 &amp;P 页，共 &amp;N "
                       "页</oddFooter>"),
              std::string::npos);
    EXPECT_NE(
        xml.find("<rowBreaks count=\"2\" manualBreakCount=\"2\"><brk id=\"24\" max=\"16383\" man=\"1\"/>"),
        std::string::npos);
    EXPECT_NE(xml.find("<hyperlink ref=\"A2\" location=\"'班级各科三率'!A1\""), std::string::npos);
    EXPECT_NE(xml.find("<hyperlink ref=\"A3\" location=\"'12'!A1\""), std::string::npos);
    EXPECT_NE(xml.find("<drawing r:id=\"rId"), std::string::npos);
    // The linked cells keep their format and kind.
    EXPECT_EQ(xmlCell(xml, "A2").type, "s");
    EXPECT_NE(xmlCell(xml, "A2").style, "");
    EXPECT_EQ(xmlCell(xml, "A3").type, "");
    EXPECT_EQ(xmlCell(xml, "A3").value, "12");
    EXPECT_EQ(xmlCell(xml, "A3").style, "");

    const std::string workbook = zipPart(path, "xl/workbook.xml");
    EXPECT_NE(
        workbook.find(
            "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">'目录'!$A$1:$J$60</definedName>"),
        std::string::npos)
        << workbook;
    EXPECT_NE(workbook.find(
                  "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">'目录'!$1:$3</definedName>"),
              std::string::npos);

    const std::string c = zipPart(path, "xl/charts/chart1.xml");
    EXPECT_NE(c.find("<c:barDir val=\"col\"/>"), std::string::npos) << c;
    EXPECT_NE(c.find("<c:f>'班级各科三率'!$C$4:$C$5</c:f>"), std::string::npos);
    EXPECT_NE(c.find("<c:f>'班级各科三率'!$M$4:$M$5</c:f>"), std::string::npos);
    EXPECT_NE(c.find("<c:trendlineType val=\"linear\"/>"), std::string::npos);
    EXPECT_NE(c.find("<c:overlap val=\"100\"/>"), std::string::npos);
    EXPECT_NE(c.find("<c:legendEntry><c:idx val=\"1\"/><c:delete val=\"1\"/></c:legendEntry>"),
              std::string::npos);
    EXPECT_NE(c.find("<c:min val=\"0\"/>"), std::string::npos);
    for (const char* text : {"语文各班平均分", "班级", "平均分", "总平均分"})
        EXPECT_NE(c.find(text), std::string::npos) << text;
}

}  // namespace
}  // namespace varnex
