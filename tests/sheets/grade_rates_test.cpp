#include <gtest/gtest.h>

#include "sheets/rate_sheets.h"
#include "tests/sheets/rate_fixture.h"

namespace varnex {
namespace {

using testing::RateFixture;

using testing::expectCells;

// Two schools, 语文 数学 英语 at 150 (excellent from 120, pass from 90); total 450 (excellent
// from 360, pass from 270).
RateFixture twoSchools() {
    RateFixture f({"语文", "数学", "英语"}, {150, 150, 150});
    f.school("一中");
    f.school("二中");
    f.student("一中", "1", {"130", "100", "80"});
    f.student("一中", "2", {"90", "60", "0"});
    f.student("二中", "1", {"120", "140", "130"});
    f.student("二中", "1", {"50", "95", "125"});
    f.student("二中", "2", {"", "89.9", "100"});
    f.student("三中", "1", {"150", "150", "150"});  // a school not in the list counts nowhere
    return f;
}

TEST(GradeRates, TwoSchoolsThreeSubjects) {
    RateFixture f = twoSchools();
    f.state.exportOptions.ignoreZeroScores = true;  // no effect on this sheet
    f.run(writeGradeRates, "期中考试 - 年级各科三率（高一）");

    EXPECT_TRUE(f.merged("A1:G1"));
    EXPECT_TRUE(f.merged("A2:G2"));
    // clang-format off
    expectCells(f, {{"A1", "期中考试 - 年级各科三率（高一）"}, {"A2", ""},
                    {"A3", "项目"}, {"B3", "学校"}, {"C3", "实考人数"}, {"D3", "语文150"}, {"E3", "数学150"},
                    {"F3", "英语150"}, {"G3", "总分450"}});
    // clang-format on
    const char* labels[] = {"优秀人数", "优秀率",     "优秀率排名", "及格人数",
                            "及格率",   "及格率排名", "平均分",     "平均分排名"};
    for (int b = 0; b < 8; ++b) {
        int first = 4 + 2 * b;
        std::string range = "A" + std::to_string(first) + ":A" + std::to_string(first + 1);
        EXPECT_TRUE(f.merged(range)) << range;
        EXPECT_EQ(f.shown("A" + std::to_string(first)), labels[b]);
        EXPECT_EQ(f.shown("B" + std::to_string(first)), "一中");
        EXPECT_EQ(f.shown("B" + std::to_string(first + 1)), "二中");
        EXPECT_EQ(f.shown("C" + std::to_string(first)), "2");  // the "0" text still counts
        EXPECT_EQ(f.shown("C" + std::to_string(first + 1)), "3");
    }
    // clang-format off
    expectCells(f, {
        // 优秀人数, 优秀率
        {"D4", "1"}, {"E4", "0"}, {"F4", "0"}, {"G4", "0"}, {"D5", "1"}, {"E5", "1"}, {"F5", "2"}, {"G5", "1"},
        {"D6", "50.0"}, {"E6", "0.0"}, {"F6", "0.0"}, {"G6", "0.0"},
        {"D7", "33.3"}, {"E7", "33.3"}, {"F7", "66.7"}, {"G7", "33.3"},
        {"D8", "1"}, {"E8", "2"}, {"F8", "2"}, {"G8", "2"}, {"D9", "2"}, {"E9", "1"}, {"F9", "1"}, {"G9", "1"},
        // 及格人数, 及格率 and its ranks
        {"D10", "2"}, {"E10", "1"}, {"F10", "0"}, {"G10", "1"}, {"D11", "1"}, {"E11", "2"}, {"F11", "3"}, {"G11", "2"},
        {"D12", "100.0"}, {"E12", "50.0"}, {"F12", "0.0"}, {"G12", "50.0"},
        {"D13", "33.3"}, {"E13", "66.7"}, {"F13", "100.0"}, {"G13", "66.7"},
        {"D14", "1"}, {"E14", "2"}, {"F14", "2"}, {"G14", "2"}, {"D15", "2"}, {"E15", "1"}, {"F15", "1"},
        // 平均分 and its ranks
        {"D16", "110.0"}, {"E16", "80.0"}, {"F16", "40.0"}, {"G16", "230.0"},
        {"D17", "56.7"}, {"E17", "108.3"}, {"F17", "118.3"}, {"G17", "283.3"},
        {"D18", "1"}, {"E18", "2"}, {"F18", "2"}, {"G18", "2"}, {"G19", "1"},
    });
    // clang-format on
    EXPECT_EQ(f.formula("D8"), "=RANK(D6,D$6:D$7)");
    EXPECT_EQ(f.formula("G19"), "=RANK(G17,G$16:G$17)");
    EXPECT_EQ(f.formula("E15"), "=RANK(E13,E$12:E$13)");
    EXPECT_EQ(f.sheet().rowCount(), 19);

    // Rates and averages carry the one-decimal format; counts and ranks do not.
    for (const char* a : {"D6", "G7", "E12", "F13", "D16", "G17"}) EXPECT_TRUE(f.rateFormatted(a)) << a;
    for (const char* a : {"D4", "G5", "C6", "D8", "D10", "G19"}) EXPECT_FALSE(f.rateFormatted(a)) << a;
    // Column A is the only width; every written cell below the title is boxed and centred.
    EXPECT_EQ(f.sheet().columnWidths, (std::map<int, double>{{0, 11}}));
    for (int row = 3; row <= 19; ++row) {
        for (int col = 0; col <= 6; ++col) {
            const Cell& c = f.cell(CellName(col, row));
            EXPECT_EQ(c.horizontalAlign, kAlignCenter) << CellName(col, row);
            if (col > 0) {
                EXPECT_EQ(c.borders, 15) << CellName(col, row);
            }
        }
    }
    EXPECT_EQ(f.cell("A1").borders, 0);
}

TEST(GradeRates, OneSchoolHasNoRankBlocks) {
    RateFixture f({"语文", "数学"}, {100, 100});
    f.school("一中");
    f.student("一中", "1", {"85", "59.5"});
    f.student("一中", "1", {"84.9", "60"});
    f.student("一中", "2", {"0", ""});
    f.state.scores.excellenceLine[0] = 85;
    f.state.scores.fullMark[1] = 120;  // edited after the import: the 数学 header follows, 总分 does not
    f.run(writeGradeRates);

    EXPECT_TRUE(f.merged("A1:F1"));
    expectCells(f, {{"D3", "语文100"}, {"E3", "数学120"}, {"F3", "总分200"}});
    // clang-format off
    expectCells(f, {{"A4", "优秀人数"}, {"A5", "优秀率"}, {"A6", "及格人数"}, {"A7", "及格率"}, {"A8", "平均分"},
                    {"B8", "一中"}, {"C4", "3"}, {"C8", "3"},
                    {"D4", "1"}, {"D5", "33.3"}, {"D6", "2"}, {"D7", "66.7"}, {"D8", "56.6"},
                    {"E4", "0"}, {"E6", "0"}, {"E7", "0.0"}, {"E8", "39.8"}});
    // clang-format on
    EXPECT_EQ(f.shown("A3"), "项目");
    EXPECT_EQ(f.sheet().rowCount(), 8);
    for (int row = 4; row <= 8; ++row) {
        for (int col = 0; col <= 5; ++col) EXPECT_EQ(f.formula(CellName(col, row)), "") << CellName(col, row);
    }
}

TEST(GradeRates, SchoolWithoutStudentsGetsEmptyRatesAndTheOthersStillRank) {
    RateFixture f({"语文"}, {100});
    f.school("一中");
    f.school("空校");
    f.school("二中");
    f.student("一中", "1", {"90"});
    f.student("二中", "1", {"70"});
    f.run(writeGradeRates);
    // Blocks of three rows: 优秀率 7–9, its ranks 10–12; 平均分 22–24, its ranks 25–27. 空校 has no
    // rate and no rank (an empty cell would rank as 0, tied with 二中's 0.0).
    // clang-format off
    expectCells(f, {{"C5", "0"}, {"D5", "0"}, {"D8", ""}, {"E8", ""}, {"D23", ""},
                    {"D7", "100.0"}, {"D9", "0.0"}, {"D10", "1"}, {"D12", "2"},
                    {"D22", "90.0"}, {"D24", "70.0"}, {"D25", "1"}, {"D27", "2"}});
    // clang-format on
    for (const char* a : {"D11", "E11", "D20", "E20", "D26", "E26"}) {
        EXPECT_EQ(f.formula(a), "") << a;
        EXPECT_EQ(f.shown(a), "") << a;
    }
    EXPECT_EQ(f.formula("D12"), "=RANK(D9,D$7:D$9)");
    EXPECT_TRUE(f.rateFormatted("D8"));
}

}  // namespace
}  // namespace varnex
