// 计算赋分: the rules as the settings file writes them, the 3+1+2常用 and 八等级 rules on one
// subject of fifty students with ties at the cuts (every scaled score worked out by hand below),
// a subject with too few students, the scaled scores counted under 按赋分统计, and the sheet 赋分.

#include "analysis/scaled_scores.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/exam.h"
#include "sheets/scaled_scores.h"
#include "tests/export/exam_fixture.h"

namespace varnex::testing {
namespace {

TEST(ScaleRules, NamedOrWrittenOut) {
    const std::optional<ScaleRule> common = scaleRuleNamed("3+1+2常用");
    ASSERT_TRUE(common);
    EXPECT_EQ(*common, defaultScaleRule());
    EXPECT_EQ(scaleRuleText(*common), "3+1+2常用");
    EXPECT_EQ(common->grades[3], (ScaleGrade{"D", 1300, 41, 55}));
    const std::optional<ScaleRule> eight = scaleRuleNamed("八等级");
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->grades.size(), 8u);
    EXPECT_EQ(eight->grades[7], (ScaleGrade{"H", 300, 21, 30}));

    // Written out, with full-width punctuation and blanks as people type them.
    const std::optional<ScaleRule> written = scaleRuleNamed("甲：20：81-100， 乙:50:61-80,丙:30:40～60");
    ASSERT_TRUE(written);
    EXPECT_EQ(written->name, "");
    EXPECT_EQ(scaleRuleText(*written), "甲:20:81-100,乙:50:61-80,丙:30:40-60");
    EXPECT_EQ(scaleRuleNamed(scaleRuleText(*written)), written);
    EXPECT_EQ(scaleRuleNamed("A:12.5:90-100,B:87.5:0-89")->grades[0].share, 1250);

    for (const char* bad :
         {"", "3+1+2", "A:15:86-100,B:35:71-85",  // shares short of 100
          "A:50:86-100,B:60:71-85", "A:50:100-86,B:50:71-85", "A:50:86-100,A:50:71-85", "A:100:86-100",
          "A:50:86,B:50:71-85", ":50:86-100,B:50:71-85", "A:50:86-100;B:50:71-85", "A:x:86-100,B:50:71-85"})
        EXPECT_FALSE(scaleRuleNamed(bad)) << bad;
}

// 化学 of fifty students, from the top: 98 96 95 93 92 90.5, 88 ×3, 87, 86 … 74, 72 ×4, 70, 69 …
// 55, 50 48 46 44 42.5 40, 30; and one without a score.
std::vector<std::string> chemistry() {
    std::vector<std::string> scores{"98", "96", "95", "93", "92", "90.5", "88", "88", "88", "87"};
    for (int s = 86; s >= 74; --s) scores.push_back(std::to_string(s));
    for (int k = 0; k < 4; ++k) scores.push_back("72");
    for (int s = 70; s >= 55; --s) scores.push_back(std::to_string(s));
    for (const char* s : {"50", "48", "46", "44", "42.5", "40", "30"}) scores.push_back(s);
    scores.push_back("缺考");
    return scores;
}

// 高二: 语文 and 化学 of every student above, 地理 of the first 29 only.
void seniorExam(Exam& exam) {
    exam.state.gradeIndex = 10;
    exam.state.imported.gradeName = "高二";
    exam.subjects({{"语文", 150}, {"化学", 100}, {"地理", 100}});
    const std::vector<std::string> scores = chemistry();
    for (size_t s = 0; s < scores.size(); ++s) {
        const std::string geography = s < 29 ? "60" : "";
        exam.student("一中", s % 2 == 0 ? "1" : "2", "学生" + std::to_string(s + 1), "",
                     {"100", scores[s], geography});
    }
    exam.imported();
    exam.state.scores.computeScaled = true;
}

struct Scaled {
    const char* raw;
    const char* grade;
    int scaled;
};

void expectScaled(const ScaledSubject& subject, const ScaleRule& rule, const std::vector<Scaled>& expected) {
    ASSERT_EQ(subject.grade.size(), expected.size());
    for (size_t s = 0; s < expected.size(); ++s) {
        SCOPED_TRACE(expected[s].raw);
        if (expected[s].grade[0] == '\0') {
            EXPECT_EQ(subject.grade[s], -1);
            continue;
        }
        ASSERT_GE(subject.grade[s], 0);
        EXPECT_EQ(rule.grades[static_cast<size_t>(subject.grade[s])].name, expected[s].grade);
        EXPECT_EQ(subject.scaled[s], expected[s].scaled);
    }
}

// 3+1+2常用 over 50 students: A when fewer than 7.5 scored higher, B under 25, C under 42.5, D under
// 49. The three 88s (6 higher) are all A and the four 72s (23 higher) all B.
// A 88–98 onto 86–100: 96 → 86 + 14·8/10 = 97.2 → 97; 90.5 → 89.5 → 90 (half up).
// B 72–87 onto 71–85: 79 → 71 + 14·7/15 = 77.53 → 78; 80 → 78.47 → 78.
// C 55–70 onto 56–70: 62 → 56 + 14·7/15 = 62.53 → 63; 55 → 56.
// D 40–50 onto 41–55: 42.5 → 41 + 1.4·2.5 = 44.5 → 45. E: the one 30, alone, the top of 30–40.
TEST(ScaledScores, CommonRuleByHand) {
    Exam exam;
    seniorExam(exam);
    const varnex::Exam analysed(exam.state);
    const ScaledScores* scaled = analysed.scaledScores();
    ASSERT_NE(scaled, nullptr);
    ASSERT_EQ(scaled->subjects.size(), 1u);  // 地理 has too few
    EXPECT_EQ(scaled->subjects[0].name, "化学");
    EXPECT_EQ(scaled->subjects[0].counted, 50);
    EXPECT_EQ(scaled->notes, std::vector<std::string>{"地理只有29名学生有成绩，少于30名，不按比例赋分"});
    std::vector<Scaled> expected{
        {"98", "A", 100},  {"96", "A", 97}, {"95", "A", 96},   {"93", "A", 93}, {"92", "A", 92},
        {"90.5", "A", 90}, {"88", "A", 86}, {"88", "A", 86},   {"88", "A", 86}, {"87", "B", 85},
        {"86", "B", 84},   {"85", "B", 83}, {"84", "B", 82},   {"83", "B", 81}, {"82", "B", 80},
        {"81", "B", 79},   {"80", "B", 78}, {"79", "B", 78},   {"78", "B", 77}, {"77", "B", 76},
        {"76", "B", 75},   {"75", "B", 74}, {"74", "B", 73},   {"72", "B", 71}, {"72", "B", 71},
        {"72", "B", 71},   {"72", "B", 71}, {"70", "C", 70},   {"69", "C", 69}, {"68", "C", 68},
        {"67", "C", 67},   {"66", "C", 66}, {"65", "C", 65},   {"64", "C", 64}, {"63", "C", 63},
        {"62", "C", 63},   {"61", "C", 62}, {"60", "C", 61},   {"59", "C", 60}, {"58", "C", 59},
        {"57", "C", 58},   {"56", "C", 57}, {"55", "C", 56},   {"50", "D", 55}, {"48", "D", 52},
        {"46", "D", 49},   {"44", "D", 47}, {"42.5", "D", 45}, {"40", "D", 41}, {"30", "E", 40},
        {"缺考", "", 0}};
    expectScaled(scaled->subjects[0], scaled->rule, expected);

    // Without 按赋分统计 the raw scores are counted; with it the scaled ones, and the totals anew.
    const size_t chem = 1;
    EXPECT_EQ(analysed.score(1, chem).value, 96);
    exam.state.importOptions.scaledScores = true;
    const varnex::Exam counted(exam.state);
    EXPECT_EQ(counted.score(1, chem).value, 97);
    EXPECT_EQ(counted.scoreText(5, chem), "90");
    EXPECT_EQ(counted.scoreText(1, 3), "257");  // 100 + 97 + 60
    EXPECT_EQ(counted.scoreText(50, chem), "缺考");
    EXPECT_EQ(counted.scoreText(50, 3), "100");

    // Not a senior grade, or not chosen: nothing is scaled.
    exam.state.scores.computeScaled = false;
    EXPECT_EQ(varnex::Exam(exam.state).scaledScores(), nullptr);
    exam.state.scores.computeScaled = true;
    exam.state.imported.gradeName = "九年级";
    EXPECT_EQ(varnex::Exam(exam.state).scaledScores(), nullptr);
}

// 八等级 (3 7 16 24 24 16 7 3 %) on the same fifty: A under 1.5 higher, B under 5, C under 13, G
// under 48.5, H the rest. A 96–98 onto 91–100; B 92–95 onto 81–90 (93 → 81 + 9/3 = 84); C 84–90.5
// onto 71–80 (88 → 71 + 9·4/6.5 = 76.54 → 77); G 40–46 onto 31–40 (42.5 → 31 + 9·2.5/6 = 34.75 →
// 35); H the 30 alone, at 30.
TEST(ScaledScores, EightGradesByHand) {
    Exam exam;
    seniorExam(exam);
    exam.state.scores.scaleRule = scaleRuleNamed("八等级");
    const varnex::Exam analysed(exam.state);
    const ScaledSubject& chem = analysed.scaledScores()->subjects.at(0);
    const ScaleRule& rule = analysed.scaledScores()->rule;
    struct Case {
        size_t student;
        const char* grade;
        int scaled;
    };
    for (const Case& c : {Case{0, "A", 100},
                          {1, "A", 91},
                          {2, "B", 90},
                          {3, "B", 84},
                          {4, "B", 81},
                          {5, "C", 80},
                          {6, "C", 77},
                          {9, "C", 75},
                          {10, "C", 74},
                          {11, "C", 72},
                          {12, "C", 71},
                          {45, "G", 40},
                          {46, "G", 37},
                          {47, "G", 35},
                          {48, "G", 31},
                          {49, "H", 30}}) {
        SCOPED_TRACE(c.student);
        EXPECT_EQ(rule.grades[static_cast<size_t>(chem.grade[c.student])].name, c.grade);
        EXPECT_EQ(chem.scaled[c.student], c.scaled);
    }
}

// A subject the sheet gave its own scaled scores for is not scaled again, nor one whose full mark
// is below the rule's top; both are said.
TEST(ScaledScores, SubjectsNotScaled) {
    Exam exam;
    seniorExam(exam);
    exam.state.imported.scaledSubjects = {"化学"};
    const varnex::Exam analysed(exam.state);
    EXPECT_TRUE(analysed.scaledScores()->subjects.empty());
    EXPECT_EQ(analysed.scaledScores()->notes.back(), "化学按表中的赋分统计，没有原始分，不计算赋分");
    exam.state.imported.scaledSubjects.clear();
    exam.state.scores.fullMark[static_cast<size_t>(subjectIndex("化学"))] = 90;
    const varnex::Exam ninety(exam.state);
    EXPECT_TRUE(ninety.scaledScores()->subjects.empty());
    EXPECT_EQ(ninety.scaledScores()->notes.front(), "化学：赋分规则最高100分，超过满分90分，不计算赋分");
}

// The sheet 赋分: the rule in its note, per student the raw score, grade and scaled score; listed
// in 目录; the subject with too few students logged and left out.
TEST(ScaledScores, Sheet) {
    Exam exam;
    seniorExam(exam);
    exam.only([](ExportOptions& o) { o.gradeRates = true; });
    ASSERT_TRUE(exam.run().completed);
    const std::vector<std::string> tabs = tabNames(*exam.outcome.workbook);
    EXPECT_NE(std::find(tabs.begin(), tabs.end(), "赋分"), tabs.end());
    const SheetModel& sheet = exam.sheet("赋分");
    EXPECT_EQ(shown(sheet, "A1"), "期中考试 - 赋分（高二）");
    EXPECT_EQ(
        shown(sheet, "A2"),
        "赋分规则（3+1+2常用）：A 15%（86-100分），B 35%（71-85分），C 35%（56-70分），D 13%（41-55分），"
        "E 2%（30-40分）。省（市）按全体考生划分等级并赋分，本表按本次考试中该科有成绩的全部学生估算，"
        "与正式赋分可能不同。");
    EXPECT_TRUE(merged(sheet, "A2", "F2"));
    for (const auto& [address, text] : std::vector<std::pair<const char*, const char*>>{{"A3", "学校"},
                                                                                        {"C3", "姓名"},
                                                                                        {"D3", "化学原始分"},
                                                                                        {"E3", "化学等级"},
                                                                                        {"F3", "化学赋分"},
                                                                                        {"G3", ""},
                                                                                        {"B4", "（1）班"},
                                                                                        {"C4", "学生1"},
                                                                                        {"D4", "98"},
                                                                                        {"E4", "A"},
                                                                                        {"F4", "100"},
                                                                                        {"D9", "90.5"},
                                                                                        {"F9", "90"},
                                                                                        {"D54", "缺考"},
                                                                                        {"E54", ""},
                                                                                        {"F54", ""}})
        EXPECT_EQ(shown(sheet, address), text) << address;
    const std::vector<std::string> log = logTexts(exam.frontend);
    EXPECT_NE(std::find(log.begin(), log.end(), "地理只有29名学生有成绩，少于30名，不按比例赋分"), log.end());

    // Nothing scaled: no sheet.
    exam.state.scores.computeScaled = false;
    exam.state.overwriteOutput = true;
    ASSERT_TRUE(exam.run().completed);
    const std::vector<std::string> without = tabNames(*exam.outcome.workbook);
    EXPECT_EQ(std::find(without.begin(), without.end(), "赋分"), without.end());
}

}  // namespace
}  // namespace varnex::testing
