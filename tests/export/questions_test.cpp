// 小题分析: the top and bottom groups with ties at a cut, Cronbach's α and the quality words worked
// by hand, and the sheets of a platform's question sheet (tests/import/make_question_fixtures.py).

#include "analysis/questions.h"

#include <gtest/gtest.h>

#include "app/null_frontend.h"
#include "import/question_import.h"
#include "import/student_import.h"
#include "tests/export/exam_fixture.h"
#include "tests/support/temp_dir.h"

namespace varnex::testing {
namespace {

std::vector<double> sumsFrom(int high, int low) {
    std::vector<double> sums;
    for (int s = high; s >= low; --s) sums.push_back(s);
    return sums;
}

// Indices of `sums` as groups, in the order the groups list them.
TEST(Questions, ExtremeGroupsAndTheirTies) {
    struct Case {
        const char* what;
        std::vector<double> sums;
        std::vector<size_t> top, bottom;
    };
    std::vector<double> tiedAtCut = sumsFrom(20, 1);  // 20 students: 27 % is 5.4, 5 each
    tiedAtCut[5] = tiedAtCut[4];                      // the 6th ties with the 5th
    const Case cases[] = {
        {"27 % of 20", sumsFrom(20, 1), {0, 1, 2, 3, 4}, {15, 16, 17, 18, 19}},
        {"tie at the top cut", tiedAtCut, {0, 1, 2, 3, 4, 5}, {15, 16, 17, 18, 19}},
        {"27 % of 24 is 6.48", sumsFrom(24, 1), {0, 1, 2, 3, 4, 5}, {18, 19, 20, 21, 22, 23}},
        {"halves of 7", {7, 6, 5, 4, 3, 2, 1}, {0, 1, 2}, {4, 5, 6}},
        // Ties across the middle: both groups take the tied students.
        {"tie at the median", {9, 5, 5, 1}, {0, 1, 2}, {1, 2, 3}},
        {"all equal", {3, 3, 3}, {0, 1, 2}, {0, 1, 2}},
        {"one student", {3}, {}, {}},
    };
    for (const Case& c : cases) {
        const ExtremeGroups groups = extremeGroups(c.sums);
        std::vector<size_t> bottom = groups.bottom;
        std::sort(bottom.begin(), bottom.end());
        EXPECT_EQ(groups.top, c.top) << c.what;
        EXPECT_EQ(bottom, c.bottom) << c.what;
    }
}

// Four students, three right-or-wrong questions: 1 1 1 / 1 1 0 / 1 0 0 / 0 0 0.
// Item variances (over the students): 3/16, 4/16, 3/16, together 0.625; the sums 3 2 1 0 have
// mean 1.5 and variance (2.25 + 0.25 + 0.25 + 2.25) / 4 = 1.25; α = 3/2 × (1 − 0.625/1.25) = 0.75.
TEST(Questions, CronbachAlphaByHand) {
    EXPECT_DOUBLE_EQ(*cronbachAlpha({{1, 1, 1}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}}), 0.75);
    EXPECT_FALSE(cronbachAlpha({{1}, {0}}));        // one question
    EXPECT_FALSE(cronbachAlpha({{1, 0}, {0, 1}}));  // sums that do not vary
    EXPECT_FALSE(cronbachAlpha({{1, 1}}));          // one student
}

TEST(Questions, QualityWordsAtTheirBounds) {
    const std::pair<double, const char*> cases[] = {{0.72, "很好"},   {0.40, "很好"}, {0.396, "很好"},
                                                    {0.394, "较好"},  {0.30, "较好"}, {0.29, "需修改"},
                                                    {0.20, "需修改"}, {0.19, "较差"}, {-0.1, "较差"}};
    for (auto [d, word] : cases) EXPECT_STREQ(discriminationWord(d), word) << d;
}

// The fixture's 20 paired students (邓林 has no question row, 孔明 no score row), by hand:
//  得分率 of the exam: question 1 has eleven 5s and nine 0s of 20 (55 %; 满分率 55, 零分率 45);
//  17(2) sums 71 of 120 (59.2 %).
//  The sums run 25 24 23 20 20 20 17 …: 27 % of 20 is 5, and 沈星 (5th) ties with 韩露 (6th), so
//  the top group is six: 林晓 周舟 冯悦 陈默 沈星 韩露. The bottom five: 王溪 0, 秦川 3, 吕晨 5,
//  蒋帆 7, 郑岩 8 (施然's 9 is the 6th lowest).
//  区分度 of question 3: top 25 of 30 (83.3 %), bottom 10 of 25 (40 %): 0.43 (cut at five it
//  would be 20/25 − 10/25 = 0.40); 17(1): 21/24 − 3/20 = 0.725; 17(2): 31/36 − 5/30 = 0.69.
//  α: item variances 6.1875 + 6.25 + 6.25 + 1.61 + 3.4475 = 23.745, the sums' variance 47.94,
//  α = 5/4 × (1 − 23.745/47.94) = 0.63.
void readPlatformSheets(Exam& fixture) {
    const std::string path = ::varnex::testing::fixture("question_sheets.xlsx");
    fixture.state.workbook.path = path;
    fixture.state.workbook.sheetNames = {"成绩"};
    fixture.state.workbook.selectedSheet = 0;
    NullFrontend yes;
    ASSERT_TRUE(importStudents(fixture.state, yes));
    ASSERT_TRUE(importQuestionSheet(fixture.state, yes, {path, "数学小题", "数学", ""}));
}

TEST(Questions, PlatformSheetAnalysed) {
    Exam fixture;
    readPlatformSheets(fixture);
    fixture.only([](ExportOptions& o) { o.questionAnalysis = o.questionDetail = true; });
    ASSERT_TRUE(fixture.run().completed);
    EXPECT_EQ(tabNames(*fixture.outcome.workbook),
              (std::vector<std::string>{"目录", "小题分析-数学", "小题明细-数学"}));
    const std::vector<std::string> log = logTexts(fixture.frontend);
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [](const std::string& line) {
                               return line.find("对应上 20 人") != std::string::npos &&
                                      line.find("成绩表中在小题分表里找不到的 1 人：二中（2）班邓林") !=
                                          std::string::npos &&
                                      line.find("小题分表中在成绩表里找不到的 1 人：二中（2）班孔明") !=
                                          std::string::npos;
                           }),
              log.end());

    const SheetModel& sheet = fixture.sheet("小题分析-数学");
    const std::vector<std::pair<std::string, std::string>> cells = {
        {"A1", "期中考试 - 小题分析-数学（七年级）"},
        {"A2",
         "按成绩表中对应上的 20 名学生统计；克隆巴赫α系数：0.63（20 人各题均有成绩）；小计列（不计入小题）："
         "选择题、总分、17"},
        {"A5", "学校"},
        {"M5", "与全体得分率差"},
        // 全体: rows 6–10, questions 1, 2, 3, 17(1), 17(2).
        {"A6", "全体"},
        {"C6", "20"},
        {"D6", "1"},
        {"E6", "5"},
        {"F6", "2.75"},
        {"G6", "55"},
        {"H6", "55"},
        {"I6", "45"},
        {"J6", "0.55"},
        {"K6", "1"},
        {"L6", "很好"},
        {"M6", ""},
        {"K8", "0.43"},
        {"L8", "很好"},
        {"D9", "17(1)"},
        {"E9", "4"},
        {"G9", "57.5"},
        {"K9", "0.73"},
        {"D10", "17(2)"},
        {"G10", "59.2"},
        {"H10", "15"},
        {"I10", "10"},
        {"K10", "0.69"},
        // The schools: 一中 rows 11–15, 二中 rows 16–20; then 一中（1）班 from row 21.
        {"A11", "一中"},
        {"B11", "全校"},
        {"C11", "10"},
        {"A21", "一中"},
        {"B21", "（1）班"},
        {"C21", "5"},
        {"G21", "60"},
        {"J21", ""},
        {"K21", ""},
        {"M21", "5"},
    };
    for (const auto& [address, text] : cells) EXPECT_EQ(shown(sheet, address), text) << address;
    // 二中（2）班 (rows 36–40) on question 1: 尤佳 and 许诺 of five, 40 % against 55 %: −15, coloured.
    EXPECT_EQ(shown(sheet, "B36"), "（2）班");
    EXPECT_EQ(shown(sheet, "M36"), "-15");
    ASSERT_EQ(sheet.conditionalFills.size(), 1u);
    EXPECT_EQ(sheet.conditionalFills[0].range, (CellRange{{20, 12}, {39, 12}}));
    EXPECT_EQ(sheet.conditionalFills[0].atMost, -10);
    ASSERT_EQ(sheet.charts.size(), 1u);
    ASSERT_EQ(sheet.charts[0].series.size(), 5u);  // 全体 and four classes
    EXPECT_EQ(sheet.charts[0].series[0].values.range, (CellRange{{5, 6}, {9, 6}}));
    EXPECT_EQ(sheet.charts[0].series[1].name, "一中（1）班");

    // 小题明细: 林晓 first, each question's score and loss, then the sums.
    const SheetModel& detail = fixture.sheet("小题明细-数学");
    const std::vector<std::pair<std::string, std::string>> detailCells = {
        {"D3", "1（5）"}, {"D4", "得分"}, {"E4", "失分"}, {"L3", "17(2)（6）"},
        {"N3", "合计"},   {"C5", "林晓"}, {"D5", "5"},    {"E5", "0"},
        {"L5", "6"},      {"N5", "25"},   {"O5", "0"},    {"C6", "周舟"},
        {"L6", "5"},      {"M6", "1"},    {"N6", "24"},   {"O6", "1"},
    };
    for (const auto& [address, text] : detailCells) EXPECT_EQ(shown(detail, address), text) << address;
}

// With blank scores left out, 吕晨's blank question 1 counts nowhere: eleven 5s of 19, and α is
// taken over the 19 students with every question.
TEST(Questions, BlankScoresLeftOut) {
    Exam fixture;
    readPlatformSheets(fixture);
    fixture.state.exportOptions.blankScoresExcluded = true;
    const ::varnex::Exam exam(fixture.state);
    const QuestionAnalysis a = analyseQuestions(exam, exam.questionSheets().front());
    EXPECT_EQ(a.exam.questions[0].counted, 19);
    EXPECT_DOUBLE_EQ(a.exam.questions[0].average, 55.0 / 19);
    EXPECT_EQ(a.exam.questions[1].counted, 20);
    EXPECT_EQ(a.alphaStudents, 19);
}

}  // namespace
}  // namespace varnex::testing
