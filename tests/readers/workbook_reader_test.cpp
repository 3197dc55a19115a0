#include "readers/workbook_reader.h"

#include <gtest/gtest.h>

#include "readers/zip_xml_stream.h"
#include "tests/readers/reader_test_util.h"
#include "tests/support/input_workbook.h"
#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::fixture;
using testing::readSheet;

struct WorkbookCase {
    const char* file;
    WorkbookFormat format;
    const char* total;  ///< the 总分 of row 5: the .xlsx holds LibreOffice's 15-digit result
};

class SpreadsheetFixture : public ::testing::TestWithParam<WorkbookCase> {
  protected:
    std::unique_ptr<WorkbookReader> open() {
        auto reader = openWorkbookReader(fixture(GetParam().file));
        EXPECT_TRUE(reader) << reader.error();
        return reader ? std::move(reader).value() : nullptr;
    }
};

TEST_P(SpreadsheetFixture, IsDetectedByContent) {
    EXPECT_EQ(detectWorkbookFormat(fixture(GetParam().file)), GetParam().format);
}

TEST_P(SpreadsheetFixture, ListsWorksheetsInWorkbookOrderWithHiddenOnes) {
    auto reader = open();
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->sheetNames(), (std::vector<std::string>{"成绩", "教师任课表", "隐藏", "Sheet4"}));
}

TEST_P(SpreadsheetFixture, ReadsCellTextsAndFormulaResults) {
    auto reader = open();
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(readSheet(*reader, "成绩"),
              (std::vector<std::string>{
                  "1: 序号|学校|班级|姓名|语文|数学|英语|总分|评语",
                  "2: 1|第一中学|1班|张三|85|92.5|0.1|177.6|良",
                  "3: 2|第一中学|1班|李四|-7|100|1234567|1234660|良",
                  std::string("5: 3|第二中学|2班|王五|0.333333333333333|1e-05|120|") + GetParam().total +
                      "|第二中学2班",
              }));
    // The merged 学校 cell covers row 2, which reads as empty there.
    EXPECT_EQ(readSheet(*reader, "教师任课表"),
              (std::vector<std::string>{"1: 学校|年级|班级|语文|数学", "2: |七年级|1班|赵老师|钱老师",
                                        "3: 第二中学|七年级|2班|孙老师"}));
    EXPECT_EQ(readSheet(*reader, "隐藏"), (std::vector<std::string>{"1: 隐藏的数据|42"}));
}

TEST_P(SpreadsheetFixture, ReadsManySharedStringsAndALongOne) {
    auto reader = open();
    ASSERT_NE(reader, nullptr);
    std::vector<std::string> rows = readSheet(*reader, "Sheet4");
    ASSERT_EQ(rows.size(), 1202u);
    EXPECT_EQ(rows[1], "2: 1|字符串0001 text 7919");
    EXPECT_EQ(rows[1200], "1201: 1200|字符串1200 text 6157");
    std::string longText;
    for (int k = 0; k < 9000; ++k) longText += (k % 3) ? "长" : "x";
    EXPECT_EQ(rows[1201], "1202: 9999|" + longText);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, SpreadsheetFixture,
    ::testing::Values(WorkbookCase{"workbook.xlsx", WorkbookFormat::Zip, "120.333343333333"},
                      WorkbookCase{"workbook_xlsx.et", WorkbookFormat::Zip, "120.333343333333"},
                      WorkbookCase{"workbook.xls", WorkbookFormat::Compound, "120.33334333333333"},
                      WorkbookCase{"workbook_xls.et", WorkbookFormat::Compound, "120.33334333333333"}),
    [](const ::testing::TestParamInfo<WorkbookCase>& param) {
        std::string name = param.param.file;
        for (char& c : name)
            if (c == '.') c = '_';
        return name;
    });

TEST(WorkbookReader, FixturesOfOtherWritersAndShapes) {
    struct Case {
        const char* file;
        std::vector<std::string> sheets;
        const char* sheet;
        std::vector<std::string> rows;
    };
    const std::vector<std::string> students = {"成绩", "空行",   "缺考", "满分",   "无学校",
                                               "全部", "无姓名", "跳过", "首行空", "仅标题"};
    const std::vector<std::string> teachers = {"任课",   "无体育", "无学校", "全部",
                                               "无班级", "空行",   "仅标题"};
    const Case cases[] = {
        // Inline strings; the chart sheet between the worksheets is left out.
        {"inline_chart.xlsx",
         {"数据", "后面"},
         "数据",
         {"1: 学校|姓名|分数", "2: 第一中学|张三|88", "3: 第一中学|李四|76.5", "4: TRUE||164.5"}},
        // Absolute and relative targets with free part names; cells and rows without "r"; rich
        // and phonetic strings; formula, boolean, error; a styled empty cell is no value.
        {"targets.xlsx",
         {"后", "前"},
         "前",
         {"2: 学校|姓名|3", "3: 第一中学 |张三|3||TRUE|#N/A|ab|A\rB", "7: 150"}},
        {"targets.xlsx", {"后", "前"}, "后", {"1: 7"}},
        // BIFF5 in code page 936, MULRK and RK, a STRING formula result, an error, a chart sheet.
        {"biff5.xls",
         {"成绩", "第二页"},
         "成绩",
         {"1: 学校|姓名|语文|数学|评语", "2: 第一中学|张三|85|92.5|优秀",
          "4: 第二中学|王五|-3|0.30000000000000004|#N/A"}},
        {"biff5.xls", {"成绩", "第二页"}, "第二页", {"1: TRUE|42.25"}},
        {"no_sheets.xlsx", {}, "", {}},
        {"单表.xlsx", {"单表"}, "", {}},
        // LibreOffice's .xlsx and .xls of the import fixtures list the same sheets.
        {"students_cases.xlsx", students, "", {}},
        {"students_cases.xls", students, "", {}},
        {"teachers_cases.xlsx", teachers, "", {}},
        {"teachers_cases.xls", teachers, "", {}},
        {"students_bad_row.xlsx", {"成绩"}, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        auto reader = openWorkbookReader(fixture(c.file));
        ASSERT_TRUE(reader) << reader.error();
        EXPECT_EQ((*reader)->sheetNames(), c.sheets);
        if (c.sheet[0] == 0) continue;
        EXPECT_EQ(readSheet(**reader, c.sheet), c.rows);
    }
}

TEST(WorkbookReader, DamagedFilesEndInTheirMessage) {
    struct Case {
        const char* file;
        const char* sheet;  ///< "" when opening fails already
        const char* error;
    };
    const Case cases[] = {
        {"not_a_workbook.xls", "", "文件不是有效的工作簿：not_a_workbook.xls"},
        {"truncated.xlsx", "", "文件“truncated.xlsx”已损坏：Not a zip archive"},
        {"missing_workbook.xlsx", "", "文件“missing_workbook.xlsx”已损坏：缺少部件 xl/workbook.xml"},
        {"deep.xlsx", "", "文件“deep.xlsx”已损坏：XML 嵌套层数过多"},
        {"truncated.xls", "", "文件“truncated.xls”已损坏：复合文档结构无法读取"},
        {"no_workbook_stream.xls", "", "文件“no_workbook_stream.xls”已损坏：找不到工作簿数据流"},
        {"biff4.xls", "", "文件“biff4.xls”已损坏：不支持的文件版本（BIFF2–BIFF4）"},
        {"too_many_sheets.xlsx", "", "文件“too_many_sheets.xlsx”已损坏：记录过多"},
        {"too_many_relationships.xlsx", "", "文件“too_many_relationships.xlsx”已损坏：记录过多"},
        {"bad_record_length.xls", "",
         "文件“bad_record_length.xls”已损坏：记录（类型 0x0085，位置 1092）有误"},
        {"bad_sheet_offset.xls", "成绩", "工作表“成绩”已损坏：工作表的位置有误"},
        {"bad_sst_index.xls", "成绩", "工作表“成绩”已损坏：记录（类型 0x00FD，位置 100217）有误"},
        {"cell_order.xls", "表", "工作表“表”已损坏：第 1 行的单元格不在行的顺序中"},
        {"truncated_record.xls", "表", "工作表“表”已损坏：文件被截断"},
        {"bad_deflate.xlsx", "表", "工作表“表”已损坏：部件 xl/worksheets/sheet1.xml 无法解压"},
        {"bad_sst_index.xlsx", "表", "工作表“表”已损坏：单元格 A1 引用了不存在的共享字符串 5"},
        {"bad_xml.xlsx", "表",
         "工作表“表”已损坏：部件 xl/worksheets/sheet1.xml 的 XML 有误（第 1 行）：mismatched tag"},
        {"bad_cell_ref.xlsx", "表", "工作表“表”已损坏：单元格引用“XFE1”无效或超出范围"},
        {"bad_row_order.xlsx", "表", "工作表“表”已损坏：行号“3”无效、超出范围或顺序有误"},
        {"huge_row.xlsx", "表", "工作表“表”已损坏：行号“1048577”无效、超出范围或顺序有误"},
        {"dtd.xlsx", "表", "工作表“表”已损坏：XML 含有文档类型定义"},
        {"long_text.xlsx", "表", "工作表“表”已损坏：单元格文本过长"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        auto reader = openWorkbookReader(fixture(c.file));
        if (c.sheet[0] == 0) {
            ASSERT_FALSE(reader);
            EXPECT_EQ(reader.error(), c.error);
            continue;
        }
        ASSERT_TRUE(reader) << reader.error();
        std::vector<std::string> rows = readSheet(**reader, c.sheet);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.back(), std::string("ERROR: ") + c.error);
    }
}

TEST(WorkbookReader, APartIsReadOnlyUpToItsCapWhateverItsHeaderSays) {
    auto package = ZipPackage::openFile(fixture("workbook.xlsx"));
    ASSERT_TRUE(package) << package.error();
    int64_t index = (*package)->find("XL/Worksheets/Sheet1.xml");  // names match ignoring case too
    ASSERT_GE(index, 0);
    ZipPartReader part(**package, index, "xl/worksheets/sheet1.xml", 1000);
    char buffer[600];
    Result<size_t> first = part.read(buffer, sizeof buffer);
    ASSERT_TRUE(first) << first.error();
    EXPECT_EQ(*first, 600u);
    Result<size_t> beyond = part.read(buffer, sizeof buffer);
    ASSERT_FALSE(beyond);
    EXPECT_EQ(beyond.error(), "部件 xl/worksheets/sheet1.xml 超过了允许的大小");
}

// Tests write their own input workbooks of any number of sheets; each sheet holds what it was given.
TEST(WorkbookReader, AWrittenInputWorkbookKeepsItsSheetsInOrder) {
    testing::TempDir dir;
    const std::string path = dir.file("五表.xlsx");
    std::vector<testing::InputSheet> sheets;
    for (const char* name : {"甲", "乙", "丙", "丁", "戊"}) sheets.push_back({name, {{name}}});
    testing::writeInputWorkbook(path, sheets);
    auto reader = openWorkbookReader(path);
    ASSERT_TRUE(reader) << reader.error();
    EXPECT_EQ((*reader)->sheetNames(), (std::vector<std::string>{"甲", "乙", "丙", "丁", "戊"}));
    for (const auto& [name, rows] : sheets) EXPECT_EQ(readSheet(**reader, name).front(), "1: " + name);
}

}  // namespace
}  // namespace varnex
