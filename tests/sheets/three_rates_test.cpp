#include "analysis/three_rates.h"

#include <gtest/gtest.h>

#include "sheets/rate_cells.h"

namespace varnex {
namespace {

TEST(ThreeRates, ScoreValueReadsLikeAtof) {
    const std::pair<const char*, double> cases[] = {{"85.5", 85.5}, {" 7", 7},  {"", 0},      {"缺考", 0},
                                                    {"12分", 12},   {"-3", -3}, {"1e2", 100}, {"0.0", 0}};
    for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(scoreValue(text), value) << text;
}

struct ThresholdCase {
    int fullMark;
    int percent;
    const char* score;
    bool excellent;
    bool pass;
};

TEST(ThreeRates, SubjectThresholds) {
    const ThresholdCase cases[] = {
        {100, 85, "85", true, true},
        {100, 85, "84.9", false, true},
        {100, 85, "60", false, true},
        {100, 85, "59.5", false, false},
        {150, 80, "120", true, true},
        {150, 80, "119.9", false, true},
        {150, 80, "90", false, true},
        {150, 80, "89.9", false, false},
        {100, 85, "缺考", false, false},
        // 120 × 88 % is 105.6 exactly, although 120 × 88 × 0.01 is 105.60000000000001 in binary.
        {120, 88, "105.6", true, true},
        {120, 88, "105.59", false, true},
        {120, 73, "87.6", true, true},
        {120, 88, "105.600", true, true},
        {3, 80, "1.8", false, true},
        {3, 80, "1.799", false, false},
    };
    for (const auto& c : cases) {
        ScoreSettings scores;
        scores.fullMark[0] = c.fullMark;
        scores.excellenceLine[0] = c.percent;
        RateRule rule = subjectRule(scores, "语文", false);
        EXPECT_EQ(rule.isExcellent(c.score), c.excellent) << c.fullMark << "/" << c.percent << " " << c.score;
        EXPECT_EQ(rule.isPass(c.score), c.pass) << c.fullMark << " " << c.score;
        // The sheets count through RateGroup: the same lines.
        RateGroup counted;
        counted.add(c.score, rule);
        EXPECT_EQ(counted.excellentCount, c.excellent ? 1 : 0)
            << c.fullMark << "/" << c.percent << " " << c.score;
        EXPECT_EQ(counted.passCount, c.pass ? 1 : 0) << c.fullMark << " " << c.score;
    }
    EXPECT_EQ(excellenceLineThousandths(150, 80), 120000);
    EXPECT_EQ(excellenceLineThousandths(120, 88), 105600);
    EXPECT_EQ(passLineThousandths(150), 90000);
    // Absurd values stay ordered instead of overflowing.
    EXPECT_EQ(scoreThousandths(105.6), 105600);
    EXPECT_GT(scoreThousandths(1e300), scoreThousandths(1e9));
    EXPECT_LT(scoreThousandths(-1e300), 0);
}

TEST(ThreeRates, TotalThresholdsDifferBetweenGradeAndClassSheets) {
    ScoreSettings scores;
    scores.fullMark.fill(0);
    scores.fullMark[0] = 815;  // totalExcellenceScore 652, totalFullMark 815
    ASSERT_EQ(scores.totalExcellenceScore(), 652);
    RateRule grade = gradeTotalRule(scores, 1000);  // the full marks were raised after the import
    RateRule cls = classTotalRule(scores, false);
    struct Case {
        const char* total;
        bool gradeExcellent;
        bool classExcellent;
    };
    const Case cases[] = {{"651.9", false, false},
                          {"652", true, true},
                          {"652.5", true, true},
                          {"6.52e2", true, false}};  // the class sheet reads only the integer part
    for (const auto& c : cases) {
        EXPECT_EQ(grade.isExcellent(c.total), c.gradeExcellent) << c.total;
        EXPECT_EQ(cls.isExcellent(c.total), c.classExcellent) << c.total;
    }
    // Pass: 60 % of the import's total on the grade sheet, of the current total on the class sheet.
    EXPECT_FALSE(grade.isPass("500"));
    EXPECT_TRUE(grade.isPass("600"));
    EXPECT_TRUE(cls.isPass("489"));
    EXPECT_FALSE(cls.isPass("488.9"));
}

TEST(ThreeRates, OnlyTheExactTextZeroSitsOutWhenExcluded) {
    ScoreSettings scores;
    const char* texts[] = {"0", "", "0.0", "缺考", "90"};
    RateGroup excluded, counted;
    for (const char* text : texts) {
        excluded.add(text, subjectRule(scores, "数学", true));
        counted.add(text, subjectRule(scores, "数学", false));
    }
    EXPECT_EQ(excluded.satCount, 4);
    EXPECT_EQ(counted.satCount, 5);
    for (const RateGroup& g : {excluded, counted}) {
        EXPECT_EQ(g.excellentCount, 1);
        EXPECT_EQ(g.passCount, 1);
        EXPECT_EQ(g.scoreSumThousandths, 90000);
    }
    RateGroup sum = excluded;
    sum += counted;
    EXPECT_EQ(sum.satCount, 9);
    EXPECT_EQ(sum.scoreSumThousandths, 180000);
}

TEST(ThreeRates, FigureTexts) {
    EXPECT_EQ(countText(7), "7");
    EXPECT_EQ(rateText(1, 3), "33.3");
    EXPECT_EQ(rateText(3, 3), "100.0");
    EXPECT_EQ(rateText(0, 4), "0.0");
    EXPECT_EQ(averageText(90000, 3), "30.0");
    EXPECT_EQ(rateText(0, 0), "");
    EXPECT_EQ(averageText(0, 0), "");
    // Exact quotients ending in 5 round away from zero, as the spreadsheet's ROUND does: 1 of 16 is
    // 6.25 %, and 60 scores summing to 2049 (typed with decimals) average 34.15.
    EXPECT_EQ(rateText(1, 16), "6.3");
    EXPECT_EQ(rateText(7, 8), "87.5");
    RateGroup biology;
    for (int i = 0; i < 60; ++i)
        biology.add(i < 30 ? "34.35" : "33.95", subjectRule(ScoreSettings{}, "生物", false));
    EXPECT_EQ(biology.scoreSumThousandths, 2049000);
    EXPECT_EQ(averageText(biology.scoreSumThousandths, biology.satCount), "34.2");
}

TEST(ThreeRates, FormulaShapes) {
    EXPECT_EQ(rankFormula(3, 6, 6, 7), "=RANK(D6,D$6:D$7)");
    EXPECT_EQ(rankFormula(26, 4, 4, 9), "=RANK(AA4,AA$4:AA$9)");
    EXPECT_EQ(averageFormula(12, 9, 13), "=AVERAGE(M$9:M$13)");
    EXPECT_EQ(deviationFormula(12, 12, 14, 9), "=M$12-O$9");
    EXPECT_EQ(rateFormula(6, 5, 3), "=(G$5/D$5)*100");
}

TEST(ThreeRates, GroupKeysAreUnambiguous) {
    EXPECT_NE(groupKey({"a|b", "c"}), groupKey({"a", "b|c"}));
    EXPECT_NE(groupKey({"a b", "1"}), groupKey({"a", "b 1"}));
    EXPECT_EQ(groupKey({"一中", "1"}), groupKey({"一中", "1"}));
}

}  // namespace
}  // namespace varnex
