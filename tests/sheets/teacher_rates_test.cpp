#include <gtest/gtest.h>

#include "sheets/rate_sheets.h"
#include "tests/sheets/rate_fixture.h"

namespace varnex {
namespace {

using testing::RateFixture;

using testing::expectCells;

// 语文 and 数学 at 100. 语文: 一中 王 (classes 1 and 3) and 李 (class 2), 二中 王 (class 1);
// 数学: 一中 王 (class 1), 二中 孙 (class 1). Rows: 语文 4–6, 数学 7–8.
RateFixture twoSubjectsTwoSchools() {
    RateFixture f({"语文", "数学"}, {100, 100});
    f.school("一中");
    f.school("二中");
    f.teacher("一中", "高一", "1", "语文", "王");
    f.teacher("一中", "高一", "2", "语文", "李");
    f.teacher("一中", "高二", "2", "语文", "王");  // another grade: ignored
    f.teacher("二中", "高一", "1", "数学", "孙");
    f.teacher("一中", "高一", "3", "语文", "王");
    f.teacher("一中", "高一", "1", "数学", "王");
    f.teacher("二中", "高一", "1", "语文", "王");
    f.student("一中", "1", {"90", "55"});
    f.student("一中", "1", {"50", "100"});
    f.student("一中", "3", {"70", "0"});
    f.student("一中", "2", {"80", "60"});
    f.student("二中", "1", {"100", "80"});
    f.student("二中", "2", {"10", "10"});  // no teacher row names this class
    return f;
}

TEST(TeacherRates, TwoSubjectsTwoSchools) {
    RateFixture f = twoSubjectsTwoSchools();
    EXPECT_TRUE(f.run(writeTeacherRates, "期中考试 - 教师个人三率（高一）"));

    EXPECT_TRUE(f.merged("A1:P1"));
    EXPECT_EQ(f.shown("A1"), "期中考试 - 教师个人三率（高一）");
    EXPECT_EQ(f.sheet().cell(1, 0), nullptr);
    const char* headers[] = {"任教学科", "任教学校",   "任课班级",   "实考人数", "班主任", "任课教师",
                             "优秀人数", "优秀率",     "优秀率排名", "及格人数", "及格率", "及格率排名",
                             "平均分",   "平均分排名", "总平均分",   "离均差"};
    for (int col = 0; col < 16; ++col) EXPECT_EQ(f.shown(CellName(col, 3)), headers[col]);
    EXPECT_EQ(f.sheet().columnWidths, (std::map<int, double>{{0, 9}, {8, 11}, {11, 11}, {13, 11}}));

    for (const char* range : {"A4:A6", "A7:A8", "O4:O6", "O7:O8", "B4:B5"})
        EXPECT_TRUE(f.merged(range)) << range;
    EXPECT_EQ(f.sheet().merges.size(), 1u + 5u);
    // clang-format off
    expectCells(f, {{"A4", "语文\n（100分）"}, {"A7", "数学\n（100分）"}, {"B4", "一中"}, {"B6", "二中"},
                    {"B7", "一中"}, {"B8", "二中"}});
    // clang-format on

    // clang-format off
    expectCells(f, {
        // 王 of 一中 over classes 1 and 3: 90, 50, 70
        {"C4", "1班3班"}, {"D4", "3"}, {"E4", ""}, {"F4", "王"}, {"G4", "1"}, {"H4", "33.3"}, {"J4", "2"},
        {"K4", "66.7"}, {"M4", "70.0"},
        {"C5", "2班"}, {"D5", "1"}, {"F5", "李"}, {"G5", "1"}, {"H5", "100.0"}, {"M5", "80.0"},
        {"C6", "1班"}, {"F6", "王"}, {"M6", "100.0"},
        {"O4", "83.3"}, {"I4", "3"}, {"I5", "1"}, {"I6", "1"}, {"L4", "3"}, {"N4", "3"}, {"P4", "-13.3"},
        {"C7", "1班"}, {"D7", "2"}, {"F7", "王"}, {"M7", "77.5"}, {"C8", "1班"}, {"F8", "孙"}, {"M8", "80.0"},
        {"O7", "78.8"}, {"P8", "1.2"}, {"N7", "2"},
    });
    // clang-format on
    EXPECT_EQ(f.formula("I5"), "=RANK(H5,H$4:H$6)");
    EXPECT_EQ(f.formula("H5"), "=(G$5/D$5)*100");
    EXPECT_EQ(f.formula("K8"), "=(J$8/D$8)*100");
    EXPECT_EQ(f.formula("P8"), "=M$8-O$7");
    EXPECT_EQ(f.formula("O7"), "=AVERAGE(M$7:M$8)");
    EXPECT_EQ(f.formula("M4"), "");  // the average is a figure
    EXPECT_EQ(f.sheet().rowCount(), 8);

    for (const char* a : {"H4", "K4", "M4", "O4", "P4"}) EXPECT_TRUE(f.rateFormatted(a)) << a;
    for (const char* a : {"D4", "G4", "I4", "J4", "L4", "N4"}) EXPECT_FALSE(f.rateFormatted(a)) << a;
    // 任课班级 is left-aligned; everything else centred and boxed.
    for (int row = 3; row <= 8; ++row) {
        for (int col = 0; col < 16; ++col) {
            std::string a = CellName(col, row);
            EXPECT_EQ(f.cell(a).horizontalAlign, col == 2 && row >= 4 ? kAlignLeft : kAlignCenter) << a;
        }
    }
    for (const char* a : {"C4", "E8", "P8", "I5"}) EXPECT_EQ(f.cell(a).borders, 15) << a;
}

TEST(TeacherRates, ZeroScoresAreLeftOutWithTheOption) {
    RateFixture f = twoSubjectsTwoSchools();
    f.state.exportOptions.ignoreZeroScores = true;
    EXPECT_TRUE(f.run(writeTeacherRates));
    // 数学 王 of 一中 over class 1 only (55, 100); class 3's "0" belongs to no 数学 teacher here.
    expectCells(f, {{"D7", "2"}, {"M7", "77.5"}});
    f.teacher("一中", "高一", "3", "数学", "王");
    EXPECT_TRUE(f.run(writeTeacherRates));
    expectCells(f, {{"C7", "1班3班"}, {"D7", "2"}, {"M7", "77.5"}, {"J7", "1"}});
}

TEST(TeacherRates, AverageAddsTheStudentsClassByClassInTableOrder) {
    RateFixture f({"语文"}, {100});
    f.school("一中");
    f.teacher("一中", "高一", "1", "语文", "王");
    f.teacher("一中", "高一", "2", "语文", "王");
    f.teacher("一中", "高一", "3", "语文", "李");
    f.student("一中", "1", {"80.3"});
    for (const char* score : {"79.6", "91.2", "55.5"}) f.student("一中", "2", {score});
    for (const char* score : {"99.4", "3.7"}) f.student("一中", "3", {score});
    EXPECT_TRUE(f.run(writeTeacherRates));
    // 80.3 + 79.6 + 91.2 + 55.5 is 306.6 exactly (added as doubles one by one it would be
    // 306.59999999999997), and 306.6 / 4 = 76.65 rounds away from zero.
    expectCells(f, {{"C4", "1班2班"}, {"D4", "4"}, {"M4", "76.7"}});
}

// A class listed twice for the same teacher and subject is one class: shown once, its students
// counted once. The same class of another subject or teacher is a row of its own.
TEST(TeacherRates, AClassListedTwiceForATeacherCountsOnce) {
    RateFixture f({"语文", "数学"}, {100, 100});
    f.school("一中");
    f.teacher("一中", "高一", "3", "语文", "李");
    f.teacher("一中", "高一", "4", "语文", "李");
    f.teacher("一中", "高一", "3", "语文", "李");  // listed again
    f.teacher("一中", "高一", "3", "数学", "李");
    for (const char* score : {"99.4", "3.7"}) f.student("一中", "3", {score, score});
    f.student("一中", "4", {"60", "60"});
    EXPECT_TRUE(f.run(writeTeacherRates));
    // 语文 row 4, 数学 row 5.
    // clang-format off
    expectCells(f, {{"C4", "3班4班"}, {"D4", "3"}, {"G4", "1"}, {"J4", "2"}, {"M4", "54.4"},
                    {"C5", "3班"}, {"D5", "2"}, {"G5", "1"}, {"J5", "1"}, {"M5", "51.6"}});
    // clang-format on
}

TEST(TeacherRates, NoTeacherOfTheGradeWritesOnlyTitleAndHeaders) {
    RateFixture f({"语文"}, {100});
    f.school("一中");
    f.teacher("一中", "高二", "1", "语文", "王");
    f.teacher("一中", "高一", "1", "体育", "赵");  // not an exam subject
    f.teacher("外校", "高一", "1", "语文", "钱");  // not a listed school
    f.student("一中", "1", {"90"});
    Status written = f.run(writeTeacherRates);
    EXPECT_FALSE(written);
    EXPECT_EQ(written.error(), "请先导入教师任课表！");
    EXPECT_EQ(f.sheet().rowCount(), 3);
    EXPECT_EQ(f.shown("P3"), "离均差");
}

TEST(TeacherRates, SubjectsAndSchoolsWithoutTeachersTakeNoRows) {
    RateFixture f({"语文", "数学", "英语"}, {100, 100, 100});
    f.school("一中");
    f.school("二中");
    f.teacher("一中", "高一", "1", "语文", "王");
    f.teacher("二中", "高一", "1", "英语", "李");
    f.teacher("二中", "高一", "2", "英语", "周");  // a class without students: nobody sat
    f.student("一中", "1", {"90", "90", "90"});
    f.student("二中", "1", {"90", "90", "70"});
    EXPECT_TRUE(f.run(writeTeacherRates));
    // 语文 row 4 (一中 only), no 数学 rows, 英语 rows 5–6 (二中 only).
    // clang-format off
    expectCells(f, {{"A4", "语文\n（100分）"}, {"B4", "一中"}, {"F4", "王"}, {"A5", "英语\n（100分）"},
                    {"B5", "二中"}, {"F5", "李"}, {"F6", "周"}, {"M5", "70.0"}, {"O5", "70.0"}});
    // clang-format on
    for (const char* range : {"A5:A6", "B5:B6", "O5:O6"}) EXPECT_TRUE(f.merged(range)) << range;
    for (const CellRange& m : f.sheet().merges) EXPECT_NE(m.first.row, 3) << "nothing merged over row 4";
    EXPECT_EQ(f.sheet().rowCount(), 6);
    // 周 has nobody who sat: no rates, average or deviation; 李 still ranks.
    // clang-format off
    expectCells(f, {{"D6", "0"}, {"H6", ""}, {"K6", ""}, {"M6", ""}, {"P6", ""}, {"I5", "1"}, {"N5", "1"},
                    {"P5", "0.0"}});
    // clang-format on
    // … and no rank either: an empty cell would rank as 0.
    for (const char* a : {"I6", "L6", "N6"}) {
        EXPECT_EQ(f.formula(a), "") << a;
        EXPECT_EQ(f.shown(a), "") << a;
    }
}

TEST(TeacherRates, MoreThanElevenSchoolsAndManyTeachers) {
    RateFixture f({"语文"}, {100});
    const int schools = 13, perSchool = 25;
    for (int k = 0; k < schools; ++k) {
        std::string school = "学校" + std::to_string(k + 1);
        f.school(school);
        for (int t = 0; t < perSchool; ++t) {
            std::string cls = std::to_string(t + 1);
            f.teacher(school, "高一", cls, "语文", "教师" + std::to_string(k * perSchool + t));
            f.student(school, cls, {std::to_string((k * perSchool + t) * 0.3)});  // rising scores
        }
    }
    EXPECT_TRUE(f.run(writeTeacherRates));
    const int last = 4 + schools * perSchool - 1;
    EXPECT_EQ(f.sheet().rowCount(), last);
    EXPECT_TRUE(f.merged("A4:A" + std::to_string(last)));
    EXPECT_TRUE(f.merged("B" + std::to_string(last - perSchool + 1) + ":B" + std::to_string(last)));
    EXPECT_EQ(f.shown("F" + std::to_string(last)), "教师" + std::to_string(schools * perSchool - 1));
    EXPECT_EQ(f.formula("N" + std::to_string(last)),
              "=RANK(M" + std::to_string(last) + ",M$4:M$" + std::to_string(last) + ")");
    EXPECT_EQ(f.shown("N" + std::to_string(last)), "1");  // the last teacher has the best score
}

}  // namespace
}  // namespace varnex
