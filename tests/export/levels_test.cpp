// 等级: the cuts by score and by share worked out by hand, the count base and the total's full
// mark under the rules for blank scores, and the 等级分布 sheet cell by cell.

#include "analysis/levels.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "analysis/three_rates.h"
#include "sheets/level_distribution.h"
#include "tests/export/exam_fixture.h"
#include "workbook/cell_name.h"

namespace varnex::testing {
namespace {

LevelCuts cuts(LevelMethod method, const char* lines, const char* names = "") {
    return *makeLevelCuts(method, lines, names);
}

// A score exactly at a line takes the higher level; the comparison is exact where binary floating
// point is not (88 % of 120 is 105.6).
TEST(Levels, ByScore) {
    const LevelCuts grade = cuts(LevelMethod::Score, "90,75,60");
    struct Case {
        double score;
        int fullMark;
        int level;
    };
    const Case cases[] = {{135, 150, 0}, {134.99, 150, 1}, {112.5, 150, 1}, {112.49, 150, 2},
                          {90, 150, 2},  {89.99, 150, 3},  {0, 150, 3},     {100, 100, 0},
                          {60, 100, 2},  {540, 600, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(levelByScore(grade, scoreThousandths(c.score), c.fullMark), c.level) << c.score;
    const LevelCuts odd = cuts(LevelMethod::Score, "88,33.33");
    EXPECT_EQ(levelByScore(odd, scoreThousandths(105.6), 120), 0);
    EXPECT_EQ(levelByScore(odd, scoreThousandths(105.59), 120), 1);
    EXPECT_EQ(levelByScore(odd, scoreThousandths(49.995), 150), 1);  // 33.33 % of 150 is 49.995
    EXPECT_EQ(levelByScore(odd, scoreThousandths(49.99), 150), 2);
}

// Ten scores at 15, 35, 35, 13, 2 %: a level holds those of whom fewer than its cumulative share
// scored higher, so the two 95s both are A (1 higher, under 1.5) and the three 80s all B; a
// missing score is outside the base and gets no level.
TEST(Levels, ByShareTiesTakeTheHigherLevel) {
    const LevelCuts senior = cuts(LevelMethod::Share, "15,35,35,13,2");
    std::vector<std::optional<long long>> scores;
    for (double s : {100.0, 95.0, 95.0, 90.0, 80.0, 80.0, 80.0, 70.0, 60.0, 50.0})
        scores.push_back(scoreThousandths(s));
    scores.insert(scores.begin() + 3, std::nullopt);
    EXPECT_EQ(levelsByShare(senior, scores), (std::vector<int>{0, 0, 0, -1, 1, 1, 1, 1, 2, 2, 3}));
    // All equal: everyone is A.
    EXPECT_EQ(levelsByShare(senior, {1000, 1000, 1000}), (std::vector<int>{0, 0, 0}));
    // Shares adding up to less than 100: the rest is the last level.
    EXPECT_EQ(levelsByShare(cuts(LevelMethod::Share, "50"), {4000, 3000, 2000, 1000}),
              (std::vector<int>{0, 0, 1, 1}));
}

// 语文 90, 80, blank (丙 sat 数学), 70 at 30 / 70 %: counted as 0, the blank is a fourth student and 80 (one
// higher of four, 25 %) is A; left out, the base is three and 80 (33 %) is B.
TEST(Levels, CountBaseFollowsTheRuleForBlankScores) {
    for (bool excluded : {false, true}) {
        Exam fixture;
        fixture.subjects({{"语文", 100}, {"数学", 100}});
        fixture.student("一中", "1", "甲", "140", {"90", "50"})
            .student("一中", "1", "乙", "130", {"80", "50"})
            .student("一中", "1", "丙", "50", {"", "50"})
            .student("一中", "1", "丁", "120", {"70", "50"})
            .imported();
        fixture.state.exportOptions.blankScoresExcluded = excluded;
        fixture.state.scores.levels = cuts(LevelMethod::Share, "30,70");
        const ::varnex::Exam exam(fixture.state);
        const ExamLevels levels(exam);
        EXPECT_EQ(levels.level(0, 0), 0) << excluded;
        EXPECT_EQ(levels.level(1, 0), excluded ? 1 : 0) << excluded;
        EXPECT_EQ(levels.level(2, 0), excluded ? -1 : 1) << excluded;
        EXPECT_EQ(levels.level(3, 0), 1) << excluded;
    }
}

// The total is cut on the full mark each student sat for: with blank scores left out, 90 of one
// 100-mark paper is A, while counted as 0 it is 90 of 200, D.
TEST(Levels, TotalOnTheFullMarkSat) {
    for (bool excluded : {false, true}) {
        Exam fixture;
        fixture.subjects({{"语文", 100}, {"数学", 100}});
        fixture.student("一中", "1", "甲", "90", {"90", "缺考"})
            .student("一中", "1", "乙", "180", {"90", "90"})
            .student("一中", "1", "丙", "150", {"80", "70"})
            .imported();
        fixture.state.exportOptions.blankScoresExcluded = excluded;
        const ::varnex::Exam exam(fixture.state);
        const ExamLevels levels(exam);
        EXPECT_EQ(levels.level(0, 2), excluded ? 0 : 3) << excluded;
        EXPECT_EQ(levels.level(1, 2), 0) << excluded;
        EXPECT_EQ(levels.level(2, 2), 1) << excluded;
        EXPECT_EQ(levels.level(0, 1), excluded ? -1 : 3) << excluded;
    }
}

TEST(Levels, NoteStatesTheCuts) {
    EXPECT_EQ(levelCutsNote(defaultLevelCuts(0)),
              "等级按分数线：A ≥ 90%，B ≥ 75%，C ≥ 60%，D 其余（占满分的百分比）");
    EXPECT_EQ(levelCutsNote(defaultLevelCuts(9)),
              "等级按人数比例：A 前15%，B 前50%，C 前85%，D 前98%，E 其余；同分同级");
    EXPECT_EQ(levelCutsNote(cuts(LevelMethod::Score, "85,60", "优秀,合格,待合格")),
              "等级按分数线：优秀 ≥ 85%，合格 ≥ 60%，待合格 其余（占满分的百分比）");
}

// Two schools, 语文 out of 100, 七年级's cuts (A ≥ 90, B ≥ 75, C ≥ 60): classes, each school's row
// and the whole exam, for 语文 and the total.
TEST(Levels, DistributionSheet) {
    Exam fixture;
    fixture.subjects({{"语文", 100}});
    fixture.student("一中", "1", "甲", "95", {"95"})
        .student("一中", "1", "乙", "80", {"80"})
        .student("一中", "2", "丙", "60", {"60"})
        .student("一中", "2", "丁", "59.5", {"59.5"})
        .student("二中", "1", "戊", "90", {"90"})
        .imported()
        .teachers();
    fixture.only([](ExportOptions& o) { o.levelDistribution = o.teacherRates = o.subjectBands = true; });
    ASSERT_TRUE(fixture.run().completed);
    EXPECT_EQ(tabNames(*fixture.outcome.workbook),
              (std::vector<std::string>{"目录", "教师个人三率", "等级分布", "各科分数段"}));
    const SheetModel& sheet = fixture.sheet("等级分布");
    const std::vector<std::pair<std::string, std::string>> cells = {
        {"A1", "期中考试 - 等级分布（七年级）"},
        {"A2", "等级按分数线：A ≥ 90%，B ≥ 75%，C ≥ 60%，D 其余（占满分的百分比）"},
        {"A3", "学科"},
        {"D3", "人数"},
        {"E3", "A人数"},
        {"F3", "A比例(%)"},
        {"K3", "D人数"},
        {"L3", "D比例(%)"},
        // 语文: rows 4–9.
        {"A4", "语文\n（100分）"},
        {"B4", "一中"},
        {"C4", "（1）班"},
        {"D4", "2"},
        {"E4", "1"},
        {"F4", "50"},
        {"G4", "1"},
        {"H4", "50"},
        {"I4", "0"},
        {"J4", "0"},
        {"K4", "0"},
        {"C5", "（2）班"},
        {"D5", "2"},
        {"E5", "0"},
        {"I5", "1"},
        {"J5", "50"},
        {"K5", "1"},
        {"L5", "50"},
        {"B6", "一中"},
        {"C6", "全校"},
        {"D6", "4"},
        {"E6", "1"},
        {"F6", "25"},
        {"K6", "1"},
        {"B7", "二中"},
        {"C7", "（1）班"},
        {"D7", "1"},
        {"E7", "1"},
        {"F7", "100"},
        {"C8", "全校"},
        {"D8", "1"},
        {"B9", "全体"},
        {"C9", ""},
        {"D9", "5"},
        {"E9", "2"},
        {"F9", "40"},
        {"G9", "1"},
        {"H9", "20"},
        {"I9", "1"},
        {"J9", "20"},
        {"K9", "1"},
        {"L9", "20"},
        // 总分: rows 10–15, the same figures.
        {"A10", "总分\n（100分）"},
        {"B15", "全体"},
        {"E15", "2"},
        {"L15", "20"},
        {"A16", ""}};
    for (const auto& [address, text] : cells) EXPECT_EQ(shown(sheet, address), text) << address;
    EXPECT_TRUE(merged(sheet, "A4", "A9"));
    EXPECT_TRUE(boxedAndCentred(sheet, "F9"));
}

// With 统计图表, the total's levels per school (with one school, per class) and for the whole exam:
// a table of formulas reading the shares of the total's block of 等级分布, a series per level.
TEST(Levels, DistributionChart) {
    for (bool twoSchools : {true, false}) {
        Exam fixture;
        fixture.subjects({{"语文", 100}});
        fixture.student("一中", "1", "甲", "95", {"95"})
            .student("一中", "2", "乙", "80", {"80"})
            .student(twoSchools ? "二中" : "一中", "3", "丙", "60", {"60"})
            .imported();
        fixture.only([](ExportOptions& o) { o.levelDistribution = o.charts = true; });
        ASSERT_TRUE(fixture.run().completed);
        const SheetModel& sheet = fixture.sheet("统计图表");
        ASSERT_FALSE(sheet.charts.empty());
        const ChartModel& chart = sheet.charts.back();
        ASSERT_EQ(chart.series.size(), 4u) << twoSchools;
        EXPECT_EQ(chart.series[0].name, "A");
        EXPECT_EQ(chart.series[3].name, "D");
        // 总分's block: rows 10–15 with two schools (一中 1, 2, 全校; 二中 3, 全校; 全体), rows 8–11
        // with one (1, 2, 3, 全体).
        const std::vector<std::string> labels =
            twoSchools ? std::vector<std::string>{"一中", "二中", "全体"}
                       : std::vector<std::string>{"（1）班", "（2）班", "（3）班", "全体"};
        const std::vector<int> rows =
            twoSchools ? std::vector<int>{12, 14, 15} : std::vector<int>{8, 9, 10, 11};
        EXPECT_EQ(chart.title, twoSchools ? "各校总分等级分布" : "各班总分等级分布");
        const CellRange& values = chart.series[1].values.range;
        EXPECT_EQ(chart.series[1].values.sheet, "统计图表");
        EXPECT_EQ(values.last.row - values.first.row + 1, static_cast<int>(labels.size()));
        ASSERT_TRUE(chart.series[1].categories.has_value());
        for (size_t i = 0; i < labels.size(); ++i) {
            const int row = values.first.row + static_cast<int>(i);
            EXPECT_EQ(shown(sheet, CellName(chart.series[1].categories->range.first.column, row + 1)),
                      labels[i]);
            // Level B's share: column H of 等级分布.
            EXPECT_EQ(shown(sheet, CellName(values.first.column, row + 1)),
                      "='等级分布'!$H$" + std::to_string(rows[i]))
                << twoSchools << " " << labels[i];
        }
        EXPECT_EQ(shown(fixture.sheet("等级分布"), "C" + std::to_string(rows.back())), "");
        EXPECT_EQ(shown(fixture.sheet("等级分布"), "B" + std::to_string(rows.back())), "全体");
    }
}

}  // namespace
}  // namespace varnex::testing
