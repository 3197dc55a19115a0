// 四率 (良好率, 低分率), 扩展指标 (超均率, 标准差, 最高分, 最低分) and 学生标准分, worked out by hand on
// one small exam: two schools, a class of one, a subject where nobody is below the 低分 line (语文)
// and one nobody sat (英语, all blank).

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/rates.h"
#include "tests/export/exam_fixture.h"

namespace varnex::testing {
namespace {

// 语文 90 70 50 | 80 || 60 100, 数学 75 35 40 | 60 || 39.5 90, 英语 blank; lines 70 % and 40 %.
// Only the options `set` chooses, and the rule for blank scores.
template <typename F>
void smallExam(Exam& exam, bool blankExcluded, F&& set) {
    exam.subjects({{"语文", 100}, {"数学", 100}, {"英语", 100}});
    exam.student("一中", "1", "甲", "165", {"90", "75", ""})
        .student("一中", "1", "乙", "105", {"70", "35", ""})
        .student("一中", "1", "丙", "90", {"50", "40", ""})
        .student("一中", "2", "丁", "140", {"80", "60", ""})
        .student("二中", "1", "戊", "99.5", {"60", "39.5", ""})
        .student("二中", "1", "己", "190", {"100", "90", ""})
        .imported()
        .teachers();
    exam.only(set);
    exam.state.exportOptions.blankScoresExcluded = blankExcluded;
}

struct Cell {
    const char* address;
    const char* shows;
};

void expectCells(const SheetModel& sheet, const std::vector<Cell>& cells, const std::string& trace) {
    for (const Cell& c : cells) EXPECT_EQ(shown(sheet, c.address), c.shows) << trace << " " << c.address;
}

// Classes 一中1, 一中2 (one student), 二中1 in each block; the columns after P are 四率's, then
// 超均率 against the school and against the exam, 标准差, 最高分, 最低分.
TEST(RateFigures, ClassSheetAppendsColumnsAfterTheLast) {
    Exam exam;
    smallExam(exam, true, [](ExportOptions& o) { o.classRates = o.fourRates = o.moreFigures = true; });
    ASSERT_TRUE(exam.run().completed);
    const SheetModel& sheet = exam.sheet("班级各科三率");
    expectCells(sheet,
                {{"P3", "离均差"},
                 {"Q3", "良好人数"},
                 {"S3", "良好率排名"},
                 {"V3", "低分率排名"},
                 {"Y3", "标准差"},
                 {"AA3", "最低分"},
                 // 语文: 一中1 mean 70 against 一中's 72.5 and the exam's 75.
                 {"Q4", "2"},
                 {"R4", "66.7"},
                 {"S4", "=RANK(R4,R$4:R$6)"},
                 {"T4", "0"},
                 {"U4", "0"},
                 {"V4", "=RANK(U4,U$4:U$6,1)"},
                 {"W4", "-3.4"},
                 {"X4", "-6.7"},
                 {"Y4", "16.33"},
                 {"Z4", "90"},
                 {"AA4", "50"},
                 // The class of one: spread 0.
                 {"R5", "100"},
                 {"W5", "10.3"},
                 {"X5", "6.7"},
                 {"Y5", "0"},
                 {"Z5", "80"},
                 {"AA5", "80"},
                 {"W6", "0"},
                 {"Y6", "20"},
                 // 数学: 35 is low, 40 (at the line) is not; 39.5 is.
                 {"T7", "1"},
                 {"U7", "33.3"},
                 {"T9", "1"},
                 {"U9", "50"},
                 {"AA9", "39.5"},
                 // 英语, nobody sat: counts 0, everything else empty.
                 {"Q10", "0"},
                 {"R10", ""},
                 {"S10", ""},
                 {"U10", ""},
                 {"V10", ""},
                 {"W10", ""},
                 {"X10", ""},
                 {"Y10", ""},
                 {"Z10", ""},
                 {"AA10", ""}},
                "class");
    EXPECT_NE(shown(sheet, "W3").find("超均率（对本校）\n"), std::string::npos);
}

// With two schools every figure block has its rank block; 四率's and 扩展指标's blocks come after
// 平均分排名 (blocks 10 … 19 of two rows from row 22). The total's lines are the sums of the lines
// of the subjects counted: 140 and 80 of the two sat, 210 and 120 with the blank 英语 as 0.
TEST(RateFigures, GradeSheetAppendsBlocksUnderTheAverageRanks) {
    for (bool excluded : {true, false}) {
        Exam exam;
        smallExam(exam, excluded,
                  [](ExportOptions& o) { o.gradeRates = o.fourRates = o.moreFigures = true; });
        ASSERT_TRUE(exam.run().completed);
        const SheetModel& sheet = exam.sheet("年级各科三率");
        const int first = excluded ? 22 : 20;  // 实考人数 is a block of its own with blanks left out
        auto at = [first](const char* column, int block, int school) {
            return std::string(column) + std::to_string(first + 2 * block + school);
        };
        const std::string trace = excluded ? "blank excluded" : "blank as 0";
        EXPECT_EQ(shown(sheet, "A" + std::to_string(first - 2)), "平均分排名") << trace;
        const std::vector<std::pair<std::string, std::string>> cells = {
            {at("A", 0, 0), "良好人数"},
            {at("A", 5, 0), "低分率排名"},
            {at("D", 0, 0), "3"},
            {at("D", 0, 1), "1"},
            {at("D", 1, 0), "75"},
            {at("D", 2, 0), "=RANK(" + at("D", 1, 0) + ",D$" + std::to_string(first + 2) + ":D$" +
                                std::to_string(first + 3) + ")"},
            {at("D", 3, 0), "0"},
            {at("E", 3, 0), "1"},
            {at("E", 4, 1), "50"},
            {at("E", 5, 0), "=RANK(" + at("E", 4, 0) + ",E$" + std::to_string(first + 8) + ":E$" +
                                std::to_string(first + 9) + ",1)"},
            {at("D", 6, 0), "-3.3"},
            {at("D", 6, 1), "6.7"},
            {at("D", 7, 0), "14.79"},
            {at("D", 7, 1), "20"},
            {at("D", 8, 1), "100"},
            {at("D", 9, 0), "50"},
            {at("G", 0, 0), excluded ? "2" : "0"},
            {at("G", 3, 0), excluded ? "0" : "2"},
            {at("G", 3, 1), excluded ? "0" : "1"},
            {at("F", 3, 0), excluded ? "0" : "4"},
            {at("F", 5, 0), excluded ? ""
                                     : "=RANK(" + at("F", 4, 0) + ",F$" + std::to_string(first + 8) + ":F$" +
                                           std::to_string(first + 9) + ",1)"},
            {at("F", 6, 0), ""},
            {at("F", 7, 0), excluded ? "" : "0"},
            {at("F", 8, 0), excluded ? "" : "0"},
        };
        for (const auto& [address, text] : cells)
            EXPECT_EQ(shown(sheet, address), text) << trace << " " << address;
        EXPECT_EQ(shown(sheet, at("A", 10, 0)), "") << trace << ": nothing after 最低分";
    }
}

// A teacher per class: the figures are the class's, the rates the sheet's own formulas as the
// three rates' are, 超均率 against the exam only.
TEST(RateFigures, TeacherSheetAppendsColumnsAfterTheLast) {
    Exam exam;
    smallExam(exam, true, [](ExportOptions& o) { o.teacherRates = o.fourRates = o.moreFigures = true; });
    ASSERT_TRUE(exam.run().completed);
    const SheetModel& sheet = exam.sheet("教师个人三率");
    expectCells(sheet,
                {{"Q4", "2"},
                 {"R4", "=(Q$4/D$4)*100"},
                 {"S4", "=RANK(R4,R$4:R$6)"},
                 {"U4", "=(T$4/D$4)*100"},
                 {"V4", "=RANK(U4,U$4:U$6,1)"},
                 {"W4", "-6.7"},
                 {"X4", "16.33"},
                 {"Y4", "90"},
                 {"Z4", "50"},
                 {"X5", "0"},
                 {"AA4", ""}},
                "teacher");
    EXPECT_NE(shown(sheet, "W3").find("超均率（对全体）\n"), std::string::npos);
}

// Without the options the sheets end where they always did.
TEST(RateFigures, NothingIsAppendedWithTheOptionsOff) {
    Exam exam;
    smallExam(exam, true, [](ExportOptions& o) { o.gradeRates = o.classRates = o.teacherRates = true; });
    ASSERT_TRUE(exam.run().completed);
    EXPECT_EQ(shown(exam.sheet("班级各科三率"), "Q3"), "");
    EXPECT_EQ(shown(exam.sheet("教师个人三率"), "Q3"), "");
    EXPECT_EQ(shown(exam.sheet("年级各科三率"), "A22"), "");
}

// 语文's mean is 75 and its population deviation √(1750 / 6) = 17.078: 甲's 90 is Z 0.88, T 58.8,
// 丙's 50 is Z −1.46, T 35.4. 英语, blank for all, has none: left out nobody sat it, counted as 0
// everyone has the same score.
TEST(RateFigures, StandardScores) {
    for (bool excluded : {true, false}) {
        Exam exam;
        smallExam(exam, excluded, [](ExportOptions& o) {
            o.standardScores = o.classRanking = o.topNEnabled = true;
            o.topN = 3;
        });
        ASSERT_TRUE(exam.run().completed);
        EXPECT_EQ(tabNames(*exam.outcome.workbook),
                  (std::vector<std::string>{"目录", "班级总分排名", "学生标准分", "总分前3名"}));
        const SheetModel& sheet = exam.sheet("学生标准分");
        expectCells(sheet,
                    {{"C3", "姓名"},
                     {"D3", "语文Z分"},
                     {"E3", "语文T分"},
                     {"K3", "总分T分"},
                     {"C4", "甲"},
                     {"D4", "0.88"},
                     {"E4", "58.8"},
                     {"D6", "-1.46"},
                     {"E6", "35.4"},
                     {"H4", ""},
                     {"I4", ""}},
                    excluded ? "blank excluded" : "blank as 0");
        EXPECT_NE(shown(sheet, "A2").find("总体标准差"), std::string::npos);
    }
}

// 不公布名次 leaves the sheet out.
TEST(RateFigures, StandardScoresLeftOutWithoutPlaces) {
    Exam exam;
    smallExam(exam, false, [](ExportOptions& o) { o.standardScores = o.gradeRates = o.noRanks = true; });
    ASSERT_TRUE(exam.run().completed);
    const std::vector<std::string> tabs = tabNames(*exam.outcome.workbook);
    EXPECT_EQ(std::count(tabs.begin(), tabs.end(), "学生标准分"), 0);
    EXPECT_EQ(std::count(tabs.begin(), tabs.end(), "年级各科三率"), 1);
}

// The spread and 超均率 from the exact sums: a group of one spreads 0, an empty group has none, a
// reference average of 0 gives none rather than a division by zero.
TEST(RateFigures, SpreadAndAboveAverage) {
    RateRule rule;
    RateGroup one, none, zero, group;
    one.add("75", rule);
    zero.add("0", rule);
    for (const char* score : {"90", "70", "50"}) group.add(score, rule);
    EXPECT_EQ(standardDeviation(one), 0.0);
    EXPECT_FALSE(standardDeviation(none));
    EXPECT_NEAR(*standardDeviation(group), 16.3299, 1e-4);
    EXPECT_NEAR(*aboveAverageRate(one, group), 7.142857, 1e-6);
    EXPECT_FALSE(aboveAverageRate(one, zero));
    EXPECT_FALSE(aboveAverageRate(none, group));
}

}  // namespace
}  // namespace varnex::testing
