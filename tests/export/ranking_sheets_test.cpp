// 总分前N名, 班级总分排名 (both layouts) and 目录, cell by cell.

#include <gtest/gtest.h>

#include <map>

#include "base/text_util.h"
#include "tests/export/exam_fixture.h"

namespace varnex::testing {
namespace {

using Cells = std::vector<std::pair<std::string, std::string>>;

void expectCells(const SheetModel& sheet, const Cells& cells) {
    for (const auto& [address, text] : cells) EXPECT_EQ(shown(sheet, address), text) << address;
}

// The cells of one sheet row from column A on, as shown.
std::vector<std::string> rowOf(const SheetModel& sheet, int row, int columns) {
    std::vector<std::string> cells;
    for (int c = 0; c < columns; ++c) cells.push_back(shown(sheet, CellName(c, row)));
    return cells;
}

// Students r0, r1, … of school 一中, class 1, with the given totals.
Exam& withTotals(Exam& exam, const std::vector<std::string>& totals) {
    for (size_t i = 0; i < totals.size(); ++i) exam.student("一中", "1", "r" + std::to_string(i), totals[i]);
    return exam.imported();
}

// ---------------------------------------------------------------- 总分前N名

TEST(TopN, TiesShareAPlaceAndTheLaterRowComesFirst) {
    Exam exam;
    withTotals(exam, {"90", "80", "95", "70", "98", "88", "60", "95", "85"});
    exam.student("二中", "3", "r9", "40", {"10", "15.5", ""}).imported();
    exam.only([](ExportOptions& o) {
        o.topNEnabled = true;
        o.topN = 3;
    });
    exam.run();
    const SheetModel& s = exam.sheet("总分前3名");
    expectCells(s, {{"A1", "期中考试 - 总分前3名（七年级）"}});
    EXPECT_TRUE(merged(s, "A1", "I1"));
    EXPECT_EQ(rowOf(s, 3, 10), (std::vector<std::string>{"序号", "学校", "班级", "姓名", "语文100", "数学100",
                                                         "英语100", "总分300", "名次", ""}));
    // 98, then the two 95s (row 7 before row 2) sharing place 2, then 90; 88 would be place 4.
    EXPECT_EQ(rowOf(s, 4, 9),
              (std::vector<std::string>{"1", "一中", "（1）班", "r4", "", "", "", "98", "1"}));
    EXPECT_EQ(rowOf(s, 5, 9),
              (std::vector<std::string>{"2", "一中", "（1）班", "r7", "", "", "", "95", "2"}));
    EXPECT_EQ(rowOf(s, 6, 9),
              (std::vector<std::string>{"3", "一中", "（1）班", "r2", "", "", "", "95", "2"}));
    EXPECT_EQ(rowOf(s, 7, 9),
              (std::vector<std::string>{"4", "一中", "（1）班", "r0", "", "", "", "90", "3"}));
    EXPECT_EQ(shown(s, "A8"), "");
    // The sheet's own width on 序号; the columns it leaves alone fit their longest text: "（1）班"
    // takes 7 characters (the brackets and 班 count two), the subject headers 7 and 总分300 7.
    EXPECT_EQ(s.columnWidths, (std::map<int, double>{{0, 5}, {2, 9}, {4, 9}, {5, 9}, {6, 9}, {7, 9}}));
    for (const char* a : {"A3", "I3", "A4", "C5", "I7"}) EXPECT_TRUE(boxedAndCentred(s, a)) << a;
}

TEST(TopN, PlacesFollowTheTotalTexts) {
    Exam exam;
    // 95 and 95.0 take two places; an empty total reads 0 and takes its own place; a negative
    // total (bad data) is listed last.
    withTotals(exam, {"95", "95.0", "", "96", "-5"});
    exam.only([](ExportOptions& o) {
        o.topNEnabled = true;
        o.topN = 10;
    });
    exam.run();
    const SheetModel& s = exam.sheet("总分前10名");
    const std::vector<std::vector<std::string>> expected = {{"1", "r3", "96", "1"},
                                                            {"2", "r1", "95", "2"},
                                                            {"3", "r0", "95", "3"},
                                                            {"4", "r2", "", "4"},
                                                            {"5", "r4", "-5", "5"}};
    for (size_t i = 0; i < expected.size(); ++i) {
        int row = 4 + static_cast<int>(i);
        EXPECT_EQ((std::vector<std::string>{shown(s, CellName(0, row)), shown(s, CellName(3, row)),
                                            shown(s, CellName(7, row)), shown(s, CellName(8, row))}),
                  expected[i])
            << row;
    }
    EXPECT_EQ(s.at("H5")->kind, Cell::Kind::Number);  // "95.0" is typed in as a number
    EXPECT_EQ(shown(s, "A9"), "");
}

TEST(TopN, ElevenSubjectsEndInColumnQ) {
    Exam exam;
    exam.subjects({{"语文", 120},
                   {"数学", 120},
                   {"英语", 120},
                   {"物理", 100},
                   {"化学", 100},
                   {"生物", 100},
                   {"历史", 100},
                   {"地理", 100},
                   {"政治", 100},
                   {"体育", 40},
                   {"实验", 15}});
    exam.student("一中", "1", "甲", "100", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"})
        .imported();
    exam.only([](ExportOptions& o) { o.topNEnabled = true; });
    exam.run();
    const SheetModel& s = exam.sheet("总分前50名");
    EXPECT_TRUE(merged(s, "A1", "Q1"));
    expectCells(s, {{"E3", "语文120"},
                    {"N3", "体育40"},
                    {"O3", "实验15"},
                    {"P3", "总分1015"},
                    {"Q3", "名次"},
                    {"E4", "1"},
                    {"O4", "11"},
                    {"P4", "100"},
                    {"Q4", "1"}});
}

// ---------------------------------------------------------------- 班级总分排名

TEST(ClassRanking, OneSheetPerClassInClassOrder) {
    Exam exam;
    exam.student("一中", "1", "a", "80").student("一中", "1", "b", "90").student("一中", "1", "c", "80");
    exam.student("一中", "2", "d", "70").imported();
    exam.only([](ExportOptions& o) {
        o.classRanking = true;
        o.classRankingLayout = 0;
    });
    exam.run();
    ASSERT_TRUE(exam.outcome.workbook);
    EXPECT_EQ(tabNames(*exam.outcome.workbook), (std::vector<std::string>{"目录", "一中1", "一中2"}));
    const SheetModel& one = exam.sheet("一中1");
    expectCells(one, {{"A1", "期中考试 - 班级总分排名 - 一中七年级（1）班"}});
    EXPECT_TRUE(merged(one, "A1", "G1"));
    EXPECT_EQ(rowOf(one, 3, 8), (std::vector<std::string>{"序号", "姓名", "语文100", "数学100", "英语100",
                                                          "总分300", "名次", ""}));
    EXPECT_EQ(rowOf(one, 4, 7), (std::vector<std::string>{"1", "b", "", "", "", "90", "1"}));
    EXPECT_EQ(rowOf(one, 5, 7), (std::vector<std::string>{"2", "c", "", "", "", "80", "2"}));
    EXPECT_EQ(rowOf(one, 6, 7), (std::vector<std::string>{"3", "a", "", "", "", "80", "2"}));
    EXPECT_EQ(one.columnWidths.at(0), 5);
    EXPECT_TRUE(boxedAndCentred(one, "G6"));
    EXPECT_EQ(rowOf(exam.sheet("一中2"), 4, 7), (std::vector<std::string>{"1", "d", "", "", "", "70", "1"}));
    EXPECT_EQ(logTexts(exam.frontend)[0], "导出：一中（1）班总分排名");
    EXPECT_EQ(logTexts(exam.frontend)[1], "导出：一中（2）班总分排名");
    EXPECT_EQ(logTexts(exam.frontend)[2], "导出：目录");
}

TEST(ClassRanking, AllClassesFollowEachOtherOnOneSheet) {
    Exam exam;
    for (int i = 0; i < 40; ++i) exam.student("一中", "1", strprintf("一%02d", i), std::to_string(100 + i));
    for (int i = 0; i < 38; ++i) exam.student("一中", "2", strprintf("二%02d", i), std::to_string(200 + i));
    exam.imported().only([](ExportOptions& o) {
        o.classRanking = true;
        o.classRankingLayout = 1;
    });
    exam.run();
    const SheetModel& s = exam.sheet("班级总分排名");
    expectCells(s, {{"A1", "期中考试 - 班级总分排名（七年级）"}, {"D3", "姓名"}, {"I3", "名次"}});
    EXPECT_TRUE(merged(s, "A1", "I1"));
    EXPECT_EQ(rowOf(s, 4, 9),
              (std::vector<std::string>{"1", "一中", "（1）班", "一39", "", "", "", "139", "1"}));
    EXPECT_EQ(rowOf(s, 43, 9),
              (std::vector<std::string>{"40", "一中", "（1）班", "一00", "", "", "", "100", "40"}));
    EXPECT_EQ(rowOf(s, 44, 9),
              (std::vector<std::string>{"1", "一中", "（2）班", "二37", "", "", "", "237", "1"}));
    EXPECT_EQ(rowOf(s, 81, 9),
              (std::vector<std::string>{"38", "一中", "（2）班", "二00", "", "", "", "200", "38"}));
    EXPECT_EQ(shown(s, "A82"), "");
    EXPECT_EQ(logTexts(exam.frontend)[0], "导出：一中（1）班总分排名");
    EXPECT_EQ(logTexts(exam.frontend)[1], "导出：一中（2）班总分排名");
    EXPECT_EQ(logTexts(exam.frontend)[2], "导出：目录");
}

TEST(ClassRanking, ReadsTheOrderTopNLeaves) {
    // a and b tie: top N lists b before a and moves them to the end of the order in that order, so
    // the class ranking, listing along that order, then finds a later and lists it first.
    Exam exam;
    exam.student("一中", "1", "a", "80")
        .student("一中", "1", "b", "80")
        .student("一中", "1", "c", "50")
        .imported();
    exam.only([](ExportOptions& o) {
        o.topNEnabled = true;
        o.topN = 1;
        o.classRanking = true;
        o.classRankingLayout = 1;
    });
    exam.run();
    EXPECT_EQ(shown(exam.sheet("总分前1名"), "D4"), "b");
    EXPECT_EQ(shown(exam.sheet("总分前1名"), "D5"), "a");
    const SheetModel& s = exam.sheet("班级总分排名");
    EXPECT_EQ(shown(s, "D4"), "a");
    EXPECT_EQ(shown(s, "D5"), "b");
    EXPECT_EQ(shown(s, "D6"), "c");
    EXPECT_EQ(shown(s, "I5"), "1");
    EXPECT_EQ(shown(s, "I6"), "2");
}

// ---------------------------------------------------------------- 目录

// Its rows follow the tabs from left to right, whatever order the sheets were produced in.
TEST(Contents, ListsTheSheetsInTabOrder) {
    Exam exam;
    exam.student("一中", "1", "a", "80").student("一中", "2", "b", "90").student("二中", "1", "c", "70");
    exam.imported().teachers().only([](ExportOptions& o) {
        o.classRanking = true;
        o.classRankingLayout = 0;
        o.topNEnabled = true;
        o.topN = 50;
        o.gradeRates = o.classRates = o.teacherRates = o.charts = true;
    });
    exam.run();
    ASSERT_TRUE(exam.outcome.workbook);
    const std::vector<std::string> tabs = tabNames(*exam.outcome.workbook);
    const SheetModel& s = exam.sheet("目录");
    expectCells(s, {
                       {"A1", "工作表名称"},
                       {"B1", "工作表标题"},
                       {"A2", "统计图表"},
                       {"B2", "期中考试 - 统计图表（七年级）"},
                       {"B3", "期中考试 - 班级总分排名 - 一中七年级（1）班"},
                       {"A10", ""},
                   });
    ASSERT_EQ(tabs.size(), 9u);
    EXPECT_EQ(tabs[0], "目录");
    for (size_t i = 1; i < tabs.size(); ++i) {
        EXPECT_EQ(shown(s, CellName(0, static_cast<int>(i) + 1)), tabs[i]) << i;
        EXPECT_EQ(shown(s, CellName(1, static_cast<int>(i) + 1)), shown(exam.sheet(tabs[i]), "A1")) << i;
    }
    EXPECT_EQ(s.columnWidths.at(0), 14);
    EXPECT_EQ(s.columnWidths.at(1), 70);
    for (const char* a : {"A1", "B1", "A5", "B9"}) {
        EXPECT_EQ(s.at(a)->borders, kBorderLeft | kBorderRight | kBorderTop | kBorderBottom) << a;
        EXPECT_EQ(s.at(a)->horizontalAlign, HAlign::General) << a;
    }
    EXPECT_TRUE(s.merges.empty());
    ASSERT_TRUE(exam.outcome.workbook);
    EXPECT_EQ(tabNames(*exam.outcome.workbook),
              (std::vector<std::string>{"目录", "统计图表", "一中1", "一中2", "二中1", "总分前50名",
                                        "年级各科三率", "班级各科三率", "教师个人三率"}));
}

}  // namespace
}  // namespace varnex::testing
