// Blank scores and texts such as 缺考 under the two counting rules, on a senior-high exam where each
// student sits 语数英 and three of six electives, checked against figures worked out by hand.

#include <gtest/gtest.h>

#include "tests/export/exam_fixture.h"

namespace varnex::testing {
namespace {

using Cells = std::vector<std::pair<std::string, std::string>>;

void expectCells(const SheetModel& sheet, const Cells& cells) {
    for (const auto& [address, text] : cells) EXPECT_EQ(shown(sheet, address), text) << address;
}

// The electives exam with the reports these tests read, under either counting rule.
void electivesUnderRule(Exam& exam, bool excluded) {
    electivesExam(exam);
    exam.only([](ExportOptions& o) {
        o.gradeRates = o.classRates = o.teacherRates = o.subjectBands = o.totalRankBands = o.topNEnabled =
            true;
    });
    exam.state.exportOptions.blankScoresExcluded = excluded;
}

// Left out: each subject's 实考人数, counts, rates and averages are those of the students who sat
// it; a 总分 is judged against the full marks and excellence scores of the subjects sat; 丁 is
// nowhere; the 总分 header shows the full mark most students sat for.
TEST(BlankScores, LeftOutOfEverySheet) {
    Exam exam;
    electivesUnderRule(exam, true);
    ASSERT_TRUE(exam.run().completed);

    // Rows: 实考人数 4–5, 优秀人数 6–7, 优秀率 8–9, 排名 10–11, 及格人数 12–13, 及格率 14–15,
    // 排名 16–17, 平均分 18–19; columns D 语文 … J 历史 … L 政治, M 总分.
    expectCells(
        exam.sheet("年级各科三率"),
        {{"M3", "总分750"}, {"A4", "实考人数"}, {"C4", "3"},    {"C5", "1"},    {"D4", "3"},    {"D5", "1"},
         {"F5", "0"},       {"J4", "1"},        {"J5", "0"},    {"M4", "3"},    {"D8", "66.7"}, {"D9", "0"},
         {"F9", ""},        {"F11", ""},        {"M8", "33.3"}, {"D14", "100"}, {"M14", "100"}, {"M15", "0"},
         {"D18", "120"},    {"D19", "60"},      {"J18", "70"},  {"M18", "570"}, {"M19", "200"}});
    // Classes 一中1, 一中2, 二中1 in rows of 3 per block: 语文 4–6, 历史 22–24, 总分 31–33.
    expectCells(exam.sheet("班级各科三率"), {{"D4", "2"},    {"H4", "50"},
                                             {"K4", "100"},  {"M4", "110"},
                                             {"D5", "1"},    {"M5", "140"},
                                             {"D22", "1"},   {"H22", "0"},
                                             {"K22", "100"}, {"M22", "70"},
                                             {"D23", "0"},   {"M23", ""},
                                             {"I23", ""},    {"A31", "总分\n（750分）"},
                                             {"D31", "2"},   {"H31", "0"},
                                             {"K31", "100"}, {"M31", "510"},
                                             {"D32", "1"},   {"H32", "100"},
                                             {"D33", "1"},   {"K33", "0"}});
    // One teacher per class and subject: 历史 rows 22–24 in class order.
    expectCells(exam.sheet("教师个人三率"),
                {{"D22", "1"}, {"M22", "70"}, {"D23", "0"}, {"M23", ""}, {"D4", "2"}, {"M4", "110"}});
    // 历史 (100) is the seventh block: rows 85 (full mark) … 95 (0→9); columns C 一中, D 二中, E 合计.
    expectCells(exam.sheet("各科分数段"),
                {{"C88", "  1/1  "}, {"C95", "  0/1  "}, {"D95", "  0/0  "}, {"E95", "  0/1  "}});
    expectCells(exam.sheet("总分名次段"), {{"A4", "第  1→4  名"}, {"D4", "  4/4  "}, {"A5", ""}});
    expectCells(exam.sheet("总分前50名"), {{"N3", "总分750"},
                                           {"D4", "丙"},
                                           {"K4", "/"},
                                           {"D7", "戊"},
                                           {"G7", "缺考"},
                                           {"N7", "200"},
                                           {"D8", ""}});
}

// A run that does not complete gives the StudentTable back whole, 丁 included.
TEST(BlankScores, TheTableComesBackWhenTheRunStops) {
    Exam exam;
    electivesUnderRule(exam, true);
    exam.state.examNameText.clear();
    exam.run();
    EXPECT_FALSE(exam.outcome.completed);
    EXPECT_EQ(namesInTable(exam.state), (std::vector<std::string>{"甲", "乙", "丙", "丁", "戊"}));
    EXPECT_EQ(exam.state.imported.examFullMarkTotal, 1050);
}

// Counted as 0 (the default): every student sits every subject, as before.
TEST(BlankScores, CountedAsZero) {
    Exam exam;
    electivesUnderRule(exam, false);
    ASSERT_TRUE(exam.run().completed);
    // No 实考人数 block: 优秀人数 4–5, 优秀率 6–7, …, 平均分 16–17.
    expectCells(exam.sheet("年级各科三率"),
                {{"M3", "总分1050"}, {"A4", "优秀人数"}, {"C4", "4"}, {"D16", "90"}, {"J16", "17.5"}});
    expectCells(exam.sheet("班级各科三率"), {{"D22", "2"}, {"M22", "35"}, {"D23", "2"}, {"M23", "0"}});
    expectCells(exam.sheet("各科分数段"), {{"C95", "  3/4  "}, {"D95", "  1/1  "}});
    expectCells(exam.sheet("总分名次段"), {{"A4", "第  1→5  名"}});
}

}  // namespace
}  // namespace varnex::testing
