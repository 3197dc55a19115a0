#include "app/subjects.h"

#include <gtest/gtest.h>

namespace varnex {
namespace {

ScoreSettings seeded(int grade) {
    ScoreSettings s;
    s.fullMark = kGradeSeedFullMarks[static_cast<size_t>(grade)];
    s.excellenceLine.fill(80);
    return s;
}

TEST(Subjects, SeededGradesGiveTheirTotals) {
    EXPECT_EQ(seeded(6).totalFullMark(), 850);
    EXPECT_EQ(seeded(6).totalExcellenceScore(), 680);
    EXPECT_EQ(seeded(8).totalFullMark(), 815);
    EXPECT_EQ(seeded(8).totalExcellenceScore(), 652);
}

TEST(Subjects, ExcellenceCountsOnlyLinesFrom1To99WithAPositiveFullMark) {
    ScoreSettings s;
    s.fullMark.fill(0);
    s.excellenceLine.fill(0);
    EXPECT_EQ(s.totalFullMark(), 0);
    EXPECT_EQ(s.totalExcellenceScore(), 0);
    s.fullMark[0] = 150;
    s.excellenceLine[0] = 100;
    s.excellenceLine[1] = 150;  // full mark 0: not read
    EXPECT_EQ(s.totalExcellenceScore(), 0);
    s.excellenceLine[0] = 99;
    EXPECT_EQ(s.totalExcellenceScore(), 148);  // 150 * 99 / 100 truncated
    s.excellenceLine[0] = 1;
    EXPECT_EQ(s.totalExcellenceScore(), 1);
    s.fullMark[2] = -30;
    EXPECT_EQ(s.totalFullMark(), 150);
}

TEST(Subjects, TotalsFromEditTextsUseAtoi) {
    std::array<std::string, kSubjectCount> marks{"150", "150x", "abc", "-20", "", "", "", "", "", "", ""};
    std::array<std::string, kSubjectCount> lines{"80", "100", "80", "80", "", "", "", "", "", "", ""};
    EXPECT_EQ(totalFullMarkFromTexts(marks), 300);
    EXPECT_EQ(totalExcellenceFromTexts(marks, lines), 120);
    // Absurd entries never wrap around to a negative total.
    marks.fill("9999999999");
    lines.fill("99");
    EXPECT_EQ(totalFullMarkFromTexts(marks), 2147483647);
    EXPECT_EQ(totalExcellenceFromTexts(marks, lines), 2147483647);
    ScoreSettings s;
    s.fullMark.fill(2147483647);
    s.excellenceLine.fill(99);
    EXPECT_EQ(s.totalFullMark(), 2147483647);
    EXPECT_EQ(s.totalExcellenceScore(), 2147483647);
}

TEST(Subjects, LookupsByName) {
    ScoreSettings s = seeded(6);
    EXPECT_EQ(columnOfSubject("语文"), 3);
    EXPECT_EQ(columnOfSubject("实验"), 13);
    EXPECT_EQ(columnOfSubject("总分"), 14);
    EXPECT_EQ(columnOfSubject("anything"), 14);
    EXPECT_EQ(s.fullMarkOf("数学"), 150);
    EXPECT_EQ(s.fullMarkOf("总分"), 850);
    EXPECT_EQ(s.excellenceLineOf("数学"), 80);
    EXPECT_EQ(s.excellenceLineOf("总分"), 680);  // the absolute score, not a percent
}

TEST(Subjects, InitialValuesBeforeAnySettingsFile) {
    ScoreSettings s;
    EXPECT_EQ(s.fullMark[0], 100);
    EXPECT_EQ(s.fullMark[9], 40);
    EXPECT_EQ(s.fullMark[10], 15);
    ExportOptions o;
    EXPECT_TRUE(o.topNEnabled);
    EXPECT_EQ(o.topN, 50);
    EXPECT_EQ(o.classRankingLayout, 1);
    EXPECT_FALSE(o.ignoreZeroScores);
    ImportOptions i;
    EXPECT_EQ(i.missingRule, 0);
    EXPECT_EQ(i.missingLimit, 4);
}

}  // namespace
}  // namespace varnex
