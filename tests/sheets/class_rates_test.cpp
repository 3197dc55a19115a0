#include <gtest/gtest.h>

#include "sheets/rate_sheets.h"
#include "tests/sheets/rate_fixture.h"

namespace varnex {
namespace {

using testing::RateFixture;

using testing::expectCells;

// 一中 with classes 1 and 2, 二中 with 1, 2 and 3; 语文 and 数学 at 100 (excellent from 80, pass
// from 60); total 200 (excellent from 160, pass from 120). Blocks: 语文 4–8, 数学 9–13, 总分 14–18.
RateFixture twoSchoolsFiveClasses() {
    RateFixture f({"语文", "数学"}, {100, 100});
    f.school("一中");
    f.school("二中");
    for (const char* c : {"1", "2"}) f.classEntry("一中", c);
    for (const char* c : {"1", "2", "3"}) f.classEntry("二中", c);
    f.student("一中", "1", {"90", "80"});
    f.student("二中", "3", {"100", "90"});
    f.student("一中", "1", {"70", "50"});
    f.student("一中", "2", {"60", "100"});
    f.student("二中", "1", {"85", "85"});
    f.student("二中", "2", {"40", "30"});
    f.teacher("一中", "高一", "1", "语文", "张");
    f.teacher("一中", "高一", "1", "语文", "王");  // not the first row for the class
    f.teacher("一中", "高一", "1", "数学", "李");
    f.teacher("一中", "高二", "2", "语文", "错");  // another grade
    f.teacher("二中", "高一", "3", "语文", "赵");
    return f;
}

TEST(ClassRates, TwoSchoolsFiveClassesTwoSubjects) {
    RateFixture f = twoSchoolsFiveClasses();
    f.run(writeClassRates, "期中考试 - 班级各科三率（高一）");

    EXPECT_TRUE(f.merged("A1:P1"));
    EXPECT_EQ(f.shown("A1"), "期中考试 - 班级各科三率（高一）");
    EXPECT_EQ(f.sheet().cell(1, 0), nullptr);  // row 2 is left alone
    const char* headers[] = {"学科",     "学校",       "班级",       "实考人数", "班主任", "任课教师",
                             "优秀人数", "优秀率",     "优秀率排名", "及格人数", "及格率", "及格率排名",
                             "平均分",   "平均分排名", "总平均分",   "离均差"};
    for (int col = 0; col < 16; ++col) EXPECT_EQ(f.shown(CellName(col, 3)), headers[col]);
    EXPECT_EQ(f.sheet().columnWidths, (std::map<int, double>{{0, 9}, {8, 11}, {11, 11}, {13, 11}}));

    for (const char* range : {"A4:A8", "A9:A13", "A14:A18", "O4:O8", "O9:O13", "O14:O18", "B4:B5", "B6:B8",
                              "B9:B10", "B11:B13", "B14:B15", "B16:B18"})
        EXPECT_TRUE(f.merged(range)) << range;
    EXPECT_EQ(f.sheet().merges.size(), 1u + 12u);
    // clang-format off
    expectCells(f, {{"A4", "语文\n（100分）"}, {"A9", "数学\n（100分）"}, {"A14", "总分\n（200分）"},
                    {"B4", "一中"}, {"B6", "二中"}, {"B16", "二中"},
                    {"C4", "（1）班"}, {"C5", "（2）班"}, {"C6", "（1）班"}, {"C8", "（3）班"}, {"C18", "（3）班"}});
    // clang-format on

    // Teachers: the first row of the grade for school, class and subject; none in the total block.
    expectCells(f,
                {{"F4", "张"}, {"F5", ""}, {"F8", "赵"}, {"F9", "李"}, {"F13", ""}, {"F14", ""}, {"E4", ""}});
    for (const char* a : {"E4", "E18", "F5", "F14", "F18"}) EXPECT_EQ(f.cell(a).borders, 15) << a;

    // clang-format off
    expectCells(f, {
        // 语文
        {"D4", "2"}, {"G4", "1"}, {"H4", "50.0"}, {"J4", "2"}, {"K4", "100.0"}, {"M4", "80.0"},
        {"D8", "1"}, {"H8", "100.0"}, {"M8", "100.0"}, {"M7", "40.0"}, {"K7", "0.0"},
        {"O4", "73.0"}, {"N8", "1"}, {"N7", "5"}, {"I5", "4"}, {"L7", "5"},
        // 数学
        {"D9", "2"}, {"G9", "1"}, {"H9", "50.0"}, {"J9", "1"}, {"K9", "50.0"}, {"M9", "65.0"},
        {"H10", "100.0"}, {"M12", "30.0"}, {"O9", "74.0"}, {"I10", "1"}, {"I12", "5"}, {"P12", "-44.0"},
        // 总分: 一中 1 has 170 and 120
        {"D14", "2"}, {"G14", "1"}, {"H14", "50.0"}, {"J14", "2"}, {"K14", "100.0"}, {"M14", "145.0"},
        {"M18", "190.0"}, {"N18", "1"},
    });
    // clang-format on
    EXPECT_EQ(f.formula("I10"), "=RANK(H10,H$9:H$13)");
    EXPECT_EQ(f.formula("L13"), "=RANK(K13,K$9:K$13)");
    EXPECT_EQ(f.formula("N4"), "=RANK(M4,M$4:M$8)");
    EXPECT_EQ(f.formula("P12"), "=M$12-O$9");
    EXPECT_EQ(f.formula("O9"), "=AVERAGE(M$9:M$13)");
    EXPECT_EQ(f.formula("O14"), "=AVERAGE(M$14:M$18)");
    EXPECT_EQ(f.sheet().rowCount(), 18);

    for (const char* a : {"H4", "K4", "M4", "O9", "P12", "H18"}) EXPECT_TRUE(f.rateFormatted(a)) << a;
    for (const char* a : {"D4", "G4", "I4", "J4", "L4", "N4"}) EXPECT_FALSE(f.rateFormatted(a)) << a;
    for (int row = 3; row <= 18; ++row) {
        for (int col = 0; col < 16; ++col)
            EXPECT_EQ(f.cell(CellName(col, row)).horizontalAlign, kAlignCenter) << CellName(col, row);
    }
}

struct ZeroCase {
    bool ignoreZeroScores;
    const char* sat;
    const char* average;
    const char* passRate;
    const char* excellentRate;
};

TEST(ClassRates, ZeroScoresWithAndWithoutTheOption) {
    const ZeroCase cases[] = {{false, "3", "30.0", "33.3", "33.3"}, {true, "1", "90.0", "100.0", "100.0"}};
    for (const auto& c : cases) {
        RateFixture f({"数学"}, {100});
        f.school("一中");
        f.classEntry("一中", "1");
        for (const char* score : {"0", "0", "90"}) f.student("一中", "1", {score});
        f.state.exportOptions.ignoreZeroScores = c.ignoreZeroScores;
        f.run(writeClassRates);
        SCOPED_TRACE(c.ignoreZeroScores);
        // clang-format off
        expectCells(f, {{"D4", c.sat}, {"M4", c.average}, {"K4", c.passRate}, {"H4", c.excellentRate},
                        {"G4", "1"}, {"J4", "1"}});
        // clang-format on
    }
}

TEST(ClassRates, ClassWithoutStudentsGetsEmptyRatesAndTheOthersStillRank) {
    RateFixture f({"语文"}, {100});
    f.school("一中");
    for (const char* c : {"1", "2", "3"}) f.classEntry("一中", c);
    f.student("一中", "1", {"90"});
    f.student("一中", "3", {"70"});
    f.run(writeClassRates);
    // clang-format off
    expectCells(f, {{"D5", "0"}, {"G5", "0"}, {"H5", ""}, {"K5", ""}, {"M5", ""}, {"P5", ""},
                    {"I4", "1"}, {"I6", "2"}, {"N4", "1"}, {"N6", "2"},
                    {"O4", "80.0"}, {"P4", "10.0"}, {"P6", "-10.0"}});
    // clang-format on
    // Nobody sat in class 2: no rank either, in any block (an empty cell would rank as 0).
    for (const char* a : {"I5", "L5", "N5", "I8", "L8", "N8"}) {
        EXPECT_EQ(f.formula(a), "") << a;
        EXPECT_EQ(f.shown(a), "") << a;
    }
    EXPECT_EQ(f.formula("N6"), "=RANK(M6,M$4:M$6)");
    EXPECT_TRUE(f.rateFormatted("M5"));
    EXPECT_TRUE(f.rateFormatted("P5"));
}

// A school whose classes were not consecutive in the score sheet (甲校 1, 乙校 1, 甲校 2) has both
// classes under its one name, merged, whether the SchoolList names it once or once per run.
TEST(ClassRates, ClassesOfASchoolStayTogetherUnderItsName) {
    const std::vector<std::vector<const char*>> schoolLists = {{"甲校", "乙校"}, {"甲校", "乙校", "甲校"}};
    for (const auto& schools : schoolLists) {
        SCOPED_TRACE(schools.size());
        RateFixture f({"语文"}, {100});
        for (const char* s : schools) f.school(s);
        f.classEntry("甲校", "1");
        f.classEntry("乙校", "1");
        f.classEntry("甲校", "2");
        f.student("甲校", "2", {"88"});
        f.student("乙校", "1", {"66"});
        f.student("甲校", "1", {"77"});
        f.run(writeClassRates);
        // Blocks 4–6 (语文) and 7–9 (总分): 甲校 1, 甲校 2, 乙校 1.
        // clang-format off
        expectCells(f, {{"B4", "甲校"}, {"B6", "乙校"}, {"B7", "甲校"}, {"B9", "乙校"},
                        {"C4", "（1）班"}, {"C5", "（2）班"}, {"C6", "（1）班"}, {"C9", "（1）班"},
                        {"M4", "77.0"}, {"M5", "88.0"}, {"M6", "66.0"}, {"D6", "1"}, {"M8", "88.0"},
                        {"N5", "1"}, {"N6", "3"}});
        // clang-format on
        for (const char* range : {"B4:B5", "B7:B8", "A4:A6", "A7:A9"}) EXPECT_TRUE(f.merged(range)) << range;
    }
}

// School "一中 1" class "2" and school "一中" class "1 2" both read "一中 1 2": each keeps its own student.
TEST(ClassRates, ClassesWhoseTextsReadAlikeKeepTheirOwnStudents) {
    RateFixture f({"语文"}, {100});
    f.school("一中 1");
    f.school("一中");
    f.classEntry("一中 1", "2");
    f.classEntry("一中", "1 2");
    f.student("一中 1", "2", {"90"});
    f.student("一中", "1 2", {"50"});
    f.run(writeClassRates);
    // clang-format off
    expectCells(f, {{"B4", "一中 1"}, {"C4", "（2）班"}, {"D4", "1"}, {"M4", "90.0"},
                    {"B5", "一中"}, {"C5", "（1 2）班"}, {"D5", "1"}, {"M5", "50.0"}});
    // clang-format on
}

TEST(ClassRates, SchoolWithoutClassesTakesNoRows) {
    RateFixture f({"语文"}, {100});
    for (const char* s : {"甲校", "空校", "乙校"}) f.school(s);
    f.classEntry("甲校", "1");
    f.classEntry("甲校", "2");
    f.classEntry("乙校", "1");
    f.run(writeClassRates);
    for (const char* range : {"B4:B5", "B7:B8"}) EXPECT_TRUE(f.merged(range)) << range;
    expectCells(f, {{"B4", "甲校"}, {"B6", "乙校"}, {"B9", "乙校"}});
    EXPECT_EQ(f.sheet().merges.size(), 1u + 2u + 2u + 2u);  // title, A and O per block, 甲校 per block
}

TEST(ClassRates, TotalExcellenceReadsTheIntegerPart) {
    // 九年级's full marks: total 815, excellence score 652, pass line 489.
    RateFixture f({"语文", "数学", "英语", "物理", "化学", "历史", "政治", "体育", "实验"},
                  {150, 150, 150, 90, 60, 70, 80, 50, 15});
    ASSERT_EQ(f.state.scores.totalExcellenceScore(), 652);
    f.school("一中");
    const char* totals[] = {"651.9", "652", "652.5", "488.9"};
    for (const char* total : totals) {
        f.classEntry("一中", total);
        f.student("一中", total, {}, total);
    }
    f.run(writeClassRates);
    // The total block is block 9: rows 40–43.
    EXPECT_EQ(f.shown("A40"), "总分\n（815分）");
    // clang-format off
    expectCells(f, {{"G40", "0"}, {"G41", "1"}, {"G42", "1"}, {"G43", "0"},
                    {"J40", "1"}, {"J43", "0"}, {"M42", "652.5"}});
    // clang-format on

    f.run(writeGradeRates);  // the grade sheet compares the value: 652.5 and 652 are excellent there too
    EXPECT_EQ(f.shown("M4"), "2");
}

}  // namespace
}  // namespace varnex
