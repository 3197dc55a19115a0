#include "import/workbook_reader.h"

#include <gtest/gtest.h>

#include "tests/import/reader_test_util.h"
#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::fixture;
using testing::readSheet;

struct WorkbookCase {
    const char* file;
    WorkbookFormat format;
    const char* oneThird;  ///< how the file stores 1/3
};

class SpreadsheetFixture : public ::testing::TestWithParam<WorkbookCase> {
protected:
    std::unique_ptr<WorkbookReader> open() {
        std::string error;
        auto reader = openWorkbookReader(fixture(GetParam().file), error);
        EXPECT_NE(reader, nullptr) << error;
        return reader;
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
                  std::string("5: 3|第二中学|2班|王五|") + GetParam().oneThird + "|1e-05|120|" +
                      (std::string(GetParam().oneThird) == "0.333333333333333" ? "120.333343333333"
                                                                               : "120.33334333333333") +
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

INSTANTIATE_TEST_SUITE_P(Fixtures, SpreadsheetFixture,
                         ::testing::Values(WorkbookCase{"workbook.xlsx", WorkbookFormat::Zip, "0.333333333333333"},
                                           WorkbookCase{"workbook_xlsx.et", WorkbookFormat::Zip, "0.333333333333333"}),
                         [](const ::testing::TestParamInfo<WorkbookCase>& param) {
                             std::string name = param.param.file;
                             for (char& c : name) if (c == '.') c = '_';
                             return name;
                         });

}  // namespace
}  // namespace varnex
