// The figure tables of the rate and band sheets, worked by hand for a tiny exam: two subjects of
// 100 (excellent from 80, pass from 60), school 甲 with one student who missed 数学, one without
// any score and one with a 语文 of "0", and school 乙 with one full-mark student.

#include "analysis/rates.h"

#include <gtest/gtest.h>

#include "analysis/bands.h"
#include "tests/sheets/rate_fixture.h"

namespace varnex {
namespace {

using testing::RateFixture;

struct Figures {
    int sat, excellent, pass;
    long long sum;
};

void expectFigures(const RateGroup& g, const Figures& want, const char* what) {
    EXPECT_EQ(g.satCount, want.sat) << what;
    EXPECT_EQ(g.excellentCount, want.excellent) << what;
    EXPECT_EQ(g.passCount, want.pass) << what;
    EXPECT_EQ(g.scoreSumThousandths, want.sum * 1000) << what;
}

RateFixture tinyExam() {
    RateFixture f({"语文", "数学"}, {100, 100});
    f.school("甲");
    f.school("乙");
    f.classEntry("甲", "1");
    f.classEntry("乙", "1");
    f.student("甲", "1", {"90", "缺考"}, "90");
    f.student("甲", "1", {"60", "85"}, "145");
    f.student("甲", "1", {"", ""}, "0");
    f.student("甲", "1", {"0", "50"}, "50");
    f.student("乙", "1", {"100", "100"}, "200");
    f.teacher("甲", "高一", "1", "语文", "张老师");
    f.teacher("乙", "高一", "1", "语文", "李老师");
    return f;
}

TEST(RateFigures, SchoolsCountEveryStudentOrThoseWhoSat) {
    struct Case {
        bool blankExcluded;
        int students;
        Figures chinese, maths, total;
    };
    const Case cases[] = {
        // Every student counts; a blank or 缺考 is a 0; the total is judged on 200 (160 / 120).
        {false, 4, {4, 1, 2, 150}, {4, 1, 1, 135}, {4, 0, 1, 285}},
        // The student without scores is left out, the one who missed 数学 counts in 语文 only, and
        // their total of 90 is judged on their own 100 (80 / 60): excellent.
        {true, 3, {3, 1, 2, 150}, {2, 1, 1, 135}, {3, 1, 2, 285}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blankExcluded);
        RateFixture f = tinyExam();
        f.state.exportOptions.blankScoresExcluded = c.blankExcluded;
        const Exam exam(f.state);
        const std::vector<SchoolRates> rates = gradeRates(exam);
        ASSERT_EQ(rates.size(), 2u);
        EXPECT_EQ(rates[0].studentCount, c.students);
        expectFigures(rates[0].figures[0], c.chinese, "语文");
        expectFigures(rates[0].figures[1], c.maths, "数学");
        expectFigures(rates[0].figures[2], c.total, "总分");
        EXPECT_EQ(rates[1].studentCount, 1);
        expectFigures(rates[1].figures[2], {1, 1, 1, 200}, "乙 总分");
    }
}

TEST(RateFigures, ClassesAndTeachersLeaveAZeroOutUnderTheZeroRule) {
    RateFixture f = tinyExam();
    f.state.exportOptions.ignoreZeroScores = true;
    const Exam exam(f.state);

    const std::vector<ClassRates> classes = classRates(exam);
    ASSERT_EQ(classes.size(), 2u);
    // The "0" of 语文 and the total "0" sit out but their scores stay in the sum; a blank text is
    // no "0" and counts.
    expectFigures(classes[0].figures[0], {3, 1, 2, 150}, "语文");
    expectFigures(classes[0].figures[1], {4, 1, 1, 135}, "数学");
    expectFigures(classes[0].figures[2], {3, 0, 1, 285}, "总分");
    EXPECT_EQ(classes[0].teachers, (std::vector<std::string>{"张老师", ""}));

    const TeacherRateTable teachers = teacherRates(exam);
    EXPECT_EQ(teachers.teacherCount, 2u);
    ASSERT_EQ(teachers.of(0, 0).size(), 1u);
    EXPECT_EQ(teachers.of(0, 0)[0].name, "张老师");
    EXPECT_EQ(teachers.of(0, 0)[0].classes, std::vector<std::string>{"1"});
    expectFigures(teachers.of(0, 0)[0].figures, {3, 1, 2, 150}, "张老师");
    expectFigures(teachers.of(0, 1)[0].figures, {1, 1, 1, 100}, "李老师");
    EXPECT_TRUE(teachers.of(1, 0).empty());
}

TEST(BandFigures, ASubjectsBlankIsInNoBandWhenBlanksAreLeftOut) {
    struct Case {
        bool blankExcluded;
        BandCount lowest, fifties, eighties;
    };
    const Case cases[] = {
        {false, {2, 4}, {1, 2}, {1, 1}},  // 缺考 and the blank count as 0
        {true, {0, 2}, {1, 2}, {1, 1}},   // the student without scores is left out, 缺考 in no band
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blankExcluded);
        RateFixture f = tinyExam();
        f.state.exportOptions.blankScoresExcluded = c.blankExcluded;
        const Exam exam(f.state);
        const BandTable table = scoreBandCounts(exam, 1, scoreBands(100));
        ASSERT_EQ(table.ofSchool.size(), 2u);
        const std::vector<BandCount>& school = table.ofSchool[0];
        ASSERT_EQ(school.size(), 11u);
        auto expectCount = [](const BandCount& got, const BandCount& want, const char* band) {
            EXPECT_EQ(got.inBand, want.inBand) << band;
            EXPECT_EQ(got.cumulative, want.cumulative) << band;
        };
        expectCount(school[0], c.lowest, "0-9");
        expectCount(school[5], c.fifties, "50-59");
        expectCount(school[8], c.eighties, "80-89");
        expectCount(table.ofAll[10], {1, 1}, "100");
    }
}

}  // namespace
}  // namespace varnex
