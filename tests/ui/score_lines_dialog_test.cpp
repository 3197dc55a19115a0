// The 上线设置 table's rows and the grade's lines: what a row typed means, and what is refused.

#include "ui/score_lines_dialog.h"

#include <gtest/gtest.h>

namespace varnex::ui {
namespace {

// A line for both tracks typed alike is one line for every track; a line of one track leaves the
// other empty; the rows come back as they were typed, blanks and full-width signs read as in the
// settings file.
TEST(ScoreLineRows, TypedRowsGiveTheLinesAndComeBack) {
    const std::vector<ScoreLineRow> typed = {
        {"本科", {"480", "470"}},
        {"", {"", ""}},  // an empty row is passed over
        {"特 控", {"60％", "60%"}},
        {"艺术", {"", "400.5"}},
    };
    Result<std::vector<ScoreLine>> lines = scoreLinesOfRows(typed);
    ASSERT_TRUE(lines) << lines.error();
    EXPECT_EQ(scoreLinesText(*lines), "物理类:本科=480;历史类:本科=470;特控=60%;历史类:艺术=400.5");
    EXPECT_EQ(scoreLineRows(*lines),
              (std::vector<ScoreLineRow>{
                  {"本科", {"480", "470"}}, {"特控", {"60%", "60%"}}, {"艺术", {"", "400.5"}}}));
    EXPECT_EQ(scoreLineRows(*scoreLinesNamed("本科=60%;物理类:特控=560")),
              (std::vector<ScoreLineRow>{{"本科", {"60%", "60%"}}, {"特控", {"560", ""}}}));
    Result<std::vector<ScoreLine>> none = scoreLinesOfRows({{"", {"", ""}}});
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
}

// Each refusal names the row, or the line and the track of the value it cannot read.
TEST(ScoreLineRows, WhatCannotBeReadIsNamed) {
    struct Case {
        std::vector<ScoreLineRow> rows;
        const char* says;
    };
    const Case cases[] = {
        {{{"本科", {"480", ""}}, {"", {"560", ""}}}, "第2行没有填写线名称。"},
        {{{"本科", {"48o", "470"}}}, "“本科”线的物理类“48o”无效"},
        {{{"本科", {"480", "120%"}}}, "“本科”线的历史类“120%”无效"},
        {{{"本科", {"480", "0"}}}, "“本科”线的历史类“0”无效"},
        {{{"本科", {"480,特控=560", ""}}}, "“本科”线的物理类“480,特控=560”无效"},
        {{{"本科", {"480", ""}}, {"本 科", {"", "470"}}}, "线名称“本科”重复了。"},
        {{{"特控", {"", ""}}}, "“特控”线的物理类和历史类都没有填写。"},
        {{{"本科:一", {"480", ""}}}, "线名称“本科:一”无效"},
        {{{"本科;", {"480", ""}}}, "线名称“本科;”无效"},
    };
    for (const Case& c : cases) {
        Result<std::vector<ScoreLine>> lines = scoreLinesOfRows(c.rows);
        ASSERT_FALSE(lines) << c.says;
        EXPECT_NE(lines.error().find(c.says), std::string::npos) << lines.error();
    }
}

}  // namespace
}  // namespace varnex::ui
