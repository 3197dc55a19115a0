#include "import/sheet_query.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::fixture;

/// Every row of a query as "row: a|b|…".
std::vector<std::string> queryRows(const std::string& file, const std::string& sheet,
                                   const std::vector<std::string>& columns) {
    SheetQuery query;
    if (Status opened = query.open(fixture(file)); !opened) return {"OPEN: " + opened.error()};
    if (Status selected = query.select(sheet, columns); !selected) return {"SELECT: " + selected.error()};
    std::vector<std::string> rows;
    while (!query.atEnd()) {
        std::string text = std::to_string(query.sheetRow()) + ":";
        for (size_t i = 0; i < columns.size(); ++i) text += (i == 0 ? " " : "|") + query.field(i);
        rows.push_back(text);
        if (Status moved = query.next(); !moved) return {"NEXT: " + moved.error()};
    }
    return rows;
}

class SheetQueryFixture : public ::testing::TestWithParam<const char*> {};

TEST_P(SheetQueryFixture, SelectsColumnsByHeaderTextInAnyOrderWithEmptyRowsInside) {
    EXPECT_EQ(queryRows(GetParam(), "成绩", {"姓名", "学校", "总分", "评语"}),
              (std::vector<std::string>{
                  "2: 张三|第一中学|177.6|良", "3: 李四|第一中学|1234660|良", "4: |||",
                  "5: 王五|第二中学|" + std::string(queryRows(GetParam(), "成绩", {"总分"})[3].substr(3)) +
                      "|第二中学2班"}));
}

TEST_P(SheetQueryFixture, MissingColumnsAreNamedInOrder) {
    EXPECT_EQ(queryRows(GetParam(), "成绩", {"学校", "物理", "姓名", "化学"}),
              (std::vector<std::string>{"SELECT: 工作表“成绩”的标题行中没有以下列：物理，化学"}));
    EXPECT_EQ(queryRows(GetParam(), "没有", {"学校"}),
              (std::vector<std::string>{"SELECT: 工作簿中没有名为“没有”的工作表"}));
}

TEST_P(SheetQueryFixture, HeaderOnlySheetIsAtEndAtOnce) {
    // 隐藏 has one row: the header.
    EXPECT_EQ(queryRows(GetParam(), "隐藏", {"隐藏的数据"}), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Fixtures, SheetQueryFixture, ::testing::Values("workbook.xlsx", "workbook.xls"));

TEST(SheetQuery, UnreadableFilesFailToOpenNamingTheFile) {
    testing::TempDir dir;
    testing::writeFile(dir.file("文本.xls"), "学校\t班级\n一中\t1班\n");
    SheetQuery query;
    Status text = query.open(dir.file("文本.xls"));
    EXPECT_FALSE(text);
    EXPECT_EQ(text.error(), "文件不是有效的工作簿：文本.xls");
    Status missing = query.open(dir.file("无.xlsx"));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.error(), "无法读取文件“无.xlsx”");
}

}  // namespace
}  // namespace varnex
