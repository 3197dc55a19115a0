// The three band sheets: 总分名次段, 总分分数段 and 各科分数段, cell by cell.

#include <gtest/gtest.h>

#include "base/text_util.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"
#include "tests/export/exam_fixture.h"
#include "workbook/cell_name.h"

namespace varnex::testing {
namespace {

using Cells = std::vector<std::pair<std::string, std::string>>;

void expectCells(const SheetModel& sheet, const Cells& cells) {
    for (const auto& [address, text] : cells) EXPECT_EQ(shown(sheet, address), text) << address;
}

// ---------------------------------------------------------------- 总分名次段

// A band cell's text is the count format's, for counts of every width.
TEST(BandCells, CountTextFollowsTheFormat) {
    for (int inBand : {0, 7, 42, 999, 1000, 123456}) {
        for (int cumulative : {0, 5, 88, 100, 4321, 2000000}) {
            EXPECT_EQ(countCellText(inBand, cumulative),
                      strprintf(sheet_texts::kCountFormat, inBand, cumulative));
        }
    }
}

TEST(RankBands, TwentyFiveStudentsInTwoSchools) {
    Exam exam;
    // Totals 100, 99, … 76: ranks 1 … 25, odd ranks in 一中, even ones in 二中.
    for (int i = 0; i < 25; ++i)
        exam.student(i % 2 == 0 ? "一中" : "二中", "1", "学生" + std::to_string(i), std::to_string(100 - i));
    exam.imported().only([](ExportOptions& o) { o.totalRankBands = true; });
    exam.run();
    const SheetModel& s = exam.sheet("总分名次段");
    expectCells(s, {
                       {"A1", "期中考试 - 总分名次段（七年级）"},
                       {"A3", "总分名次段"},
                       {"B3", "一中/累计"},
                       {"C3", "二中/累计"},
                       {"D3", "合计/累计"},
                       {"A4", "第  1→10 名"},
                       {"B4", "  5/5  "},
                       {"C4", "  5/5  "},
                       {"D4", " 10/10 "},
                       {"A5", "第 11→20 名"},
                       {"B5", "  5/10 "},
                       {"C5", "  5/10 "},
                       {"D5", " 10/20 "},
                       {"A6", "第 21→25 名"},
                       {"B6", "  3/13 "},
                       {"C6", "  2/12 "},
                       {"D6", "  5/25 "},
                       {"A7", ""},
                   });
    EXPECT_TRUE(merged(s, "A1", "D1"));
    EXPECT_EQ(s.at("A1")->horizontalAlign, kAlignCenter);
    EXPECT_EQ(s.at("A1")->borders, 0);
    for (const char* a : {"A3", "B3", "D3", "A4", "B6", "D6"}) EXPECT_TRUE(boxedAndCentred(s, a)) << a;
    EXPECT_EQ(s.columnWidths.at(0), 15);
    EXPECT_EQ(s.columnWidths.at(1), 11);
    EXPECT_EQ(s.columnWidths.at(3), 11);
}

struct RankCase {
    const char* name;
    std::vector<std::string> totals;  // all in one school
    Cells cells;
};

TEST(RankBands, BandEdgesAndTies) {
    const RankCase cases[] = {
        {"thirty students: three full bands",
         [] {
             std::vector<std::string> t;
             for (int i = 0; i < 30; ++i) t.push_back(std::to_string(300 - i));
             return t;
         }(),
         {{"A6", "第 21→30 名"}, {"B6", " 10/30 "}, {"A7", ""}}},
        {"seven students: one band ending at 7",
         {"70", "60", "50", "40", "30", "20", "10"},
         {{"A4", "第  1→7  名"}, {"B4", "  7/7  "}, {"A5", ""}}},
        // Places 1–8, three tied at 9, then 12–20: the first band holds 11 students.
        {"ties across a band edge",
         {"100", "99", "98", "97", "96", "95", "94", "93", "90", "90",
          "90",  "80", "79", "78", "77", "76", "75", "74", "73", "72"},
         {{"B4", " 11/11 "}, {"B5", "  9/20 "}}},
        // Empty and unreadable totals count 0 and share the last place.
        {"empty totals", {"", "5", "缺考"}, {{"A4", "第  1→3  名"}, {"B4", "  3/3  "}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Exam exam;
        for (size_t i = 0; i < c.totals.size(); ++i)
            exam.student("一中", "1", "学生" + std::to_string(i), c.totals[i]);
        exam.imported().only([](ExportOptions& o) { o.totalRankBands = true; });
        exam.run();
        const SheetModel& s = exam.sheet("总分名次段");
        expectCells(s, c.cells);
        // One school: no 合计 column and a title over A1:B1.
        EXPECT_EQ(shown(s, "C3"), "");
        EXPECT_TRUE(merged(s, "A1", "B1"));
    }
}

// ---------------------------------------------------------------- 总分分数段

TEST(ScoreBands, FullMark150InTwoSchools) {
    Exam exam;
    exam.subjects({{"语文", 150}});
    for (const char* t : {"150", "149.5", "140", "0"}) exam.student("一中", "1", "甲", t);
    for (const char* t : {"75", "9.9", "10"}) exam.student("二中", "1", "乙", t);
    exam.imported().only([](ExportOptions& o) { o.totalBands = true; });
    exam.run();
    const SheetModel& s = exam.sheet("总分分数段");
    Cells cells = {
        {"A1", "期中考试 - 总分分数段（七年级）"},
        {"A3", "总分分数段"},
        {"B3", "一中/累计"},
        {"C3", "二中/累计"},
        {"D3", "合计/累计"},
        {"A4", "满分:150分"},
        {"B4", "  1/1  "},
        {"C4", "  0/0  "},
        {"D4", "  1/1  "},
        {"A5", "140→149分"},
        {"B5", "  2/3  "},
        {"C5", "  0/0  "},
        {"D5", "  2/3  "},
        {"A12", " 70→79 分"},
        {"B12", "  0/3  "},
        {"C12", "  1/1  "},
        {"D12", "  1/4  "},
        {"A13", " 60→69 分"},
        {"B13", "  0/3  "},
        {"C13", "  0/1  "},
        {"D13", "  0/4  "},
        {"A18", " 10→19 分"},
        {"B18", "  0/3  "},
        {"C18", "  1/2  "},
        {"D18", "  1/5  "},
        {"A19", "  0→9  分"},
        {"B19", "  1/4  "},
        {"C19", "  1/3  "},
        {"D19", "  2/7  "},
        {"A20", ""},
    };
    expectCells(s, cells);
    EXPECT_TRUE(merged(s, "A1", "D1"));
    EXPECT_TRUE(boxedAndCentred(s, "D19"));
    EXPECT_EQ(s.columnWidths.at(0), 15);
}

TEST(ScoreBands, FullMark155WithTotalsAboveIt) {
    Exam exam;
    exam.subjects({{"语文", 150}, {"实验", 5}});
    // 160 lies in the full-mark band, 170 only in the cumulative counts.
    for (const char* t : {"160", "170", "155", "154.5", "150"}) exam.student("一中", "1", "甲", t);
    exam.imported().only([](ExportOptions& o) { o.totalBands = true; });
    exam.run();
    const SheetModel& s = exam.sheet("总分分数段");
    expectCells(s, {
                       {"A4", "满分:155分"},
                       {"B4", "  2/3  "},
                       {"A5", "150→154分"},
                       {"B5", "  2/5  "},
                       {"A6", "140→149分"},
                       {"B6", "  0/5  "},
                       {"A20", "  0→9  分"},
                       {"B20", "  0/5  "},
                       {"A21", ""},
                       {"C3", ""},
                   });
    EXPECT_TRUE(merged(s, "A1", "B1"));
}

// ---------------------------------------------------------------- 各科分数段

TEST(SubjectBands, BlocksFollowEachOther) {
    Exam exam;
    exam.subjects({{"语文", 150}, {"数学", 150}, {"英语", 150}, {"物理", 90}});
    exam.student("一中", "1", "甲", "315", {"150", "", "75", "90"});
    exam.student("一中", "1", "乙", "149.5", {"0", "149.5", "", ""});
    exam.imported().only([](ExportOptions& o) { o.subjectBands = true; });
    exam.run();
    const SheetModel& s = exam.sheet("各科分数段");
    expectCells(s, {
                       {"A1", "期中考试 - 各科分数段（七年级）"},
                       {"A3", "学科"},
                       {"B3", "分数段"},
                       {"C3", "一中/累计"},
                       {"D3", ""},
                       {"A4", "语文\n（150分）"},
                       {"B4", "满分:150分"},
                       {"C4", "  1/1  "},
                       {"B19", "  0→9  分"},
                       {"C19", "  1/2  "},
                       {"A20", "数学\n（150分）"},
                       {"B21", "140→149分"},
                       {"C21", "  1/1  "},
                       {"C35", "  1/2  "},
                       {"A36", "英语\n（150分）"},
                       {"B44", " 70→79 分"},
                       {"C44", "  1/1  "},
                       {"C51", "  1/2  "},
                       {"A52", "物理\n（90分）"},
                       {"B52", "满分:90 分"},
                       {"C52", "  1/1  "},
                       {"B61", "  0→9  分"},
                       {"C61", "  1/2  "},
                       {"B62", ""},
                   });
    for (auto [first, last] : {std::pair{"A4", "A19"}, {"A20", "A35"}, {"A36", "A51"}, {"A52", "A61"}}) {
        EXPECT_TRUE(merged(s, first, last)) << first;
        EXPECT_TRUE(s.at(first)->verticalCenter);
        EXPECT_EQ(s.at(first)->horizontalAlign, kAlignCenter);
        EXPECT_NE(s.at(first)->borders & kBorderTop, 0);
        EXPECT_NE(s.at(last)->borders & kBorderBottom, 0);
    }
    EXPECT_TRUE(merged(s, "A1", "C1"));
    EXPECT_EQ(s.columnWidths.at(0), 11);
    EXPECT_EQ(s.columnWidths.at(1), 15);
    EXPECT_EQ(s.columnWidths.at(2), 11);
}

TEST(SubjectBands, FullMark45HasAPartialBand) {
    Exam exam;
    exam.subjects({{"体育", 45}});
    for (const char* score : {"45", "44.5", "40", "9", ""}) exam.student("一中", "1", "甲", score, {score});
    exam.student("二中", "1", "乙", "30", {"30"});
    exam.imported().only([](ExportOptions& o) { o.subjectBands = true; });
    exam.run();
    const SheetModel& s = exam.sheet("各科分数段");
    expectCells(s,
                {
                    {"A4", "体育\n（45分）"}, {"B4", "满分:45 分"}, {"C4", "  1/1  "},   {"D4", "  0/0  "},
                    {"E4", "  1/1  "},        {"B5", " 40→44 分"},  {"C5", "  2/3  "},   {"D5", "  0/0  "},
                    {"E5", "  2/3  "},        {"B6", " 30→39 分"},  {"C6", "  0/3  "},   {"D6", "  1/1  "},
                    {"E6", "  1/4  "},        {"B7", " 20→29 分"},  {"B8", " 10→19 分"}, {"B9", "  0→9  分"},
                    {"C9", "  2/5  "},        {"D9", "  0/1  "},    {"E9", "  2/6  "},   {"B10", ""},
                    {"E3", "合计/累计"},
                });
    EXPECT_TRUE(merged(s, "A4", "A9"));
    EXPECT_TRUE(merged(s, "A1", "E1"));
}

struct ManySchoolsCase {
    int schools;
    const char* lastSchool;  ///< column of the last school in the rank and total bands
    const char* all;         ///< their 合计 column
    const char* subjectAll;  ///< the 合计 column of the subject bands (one column further right)
    int lastRankRow;
    const char* allCount;  ///< 合计 of the last rank band and of the total band 0→9
};

// One student per school, totals 0 … n − 1. Nothing caps the school count: the columns run on
// past Z, and past 260 schools.
TEST(BandSheets, SchoolsPastColumnZ) {
    const ManySchoolsCase cases[] = {
        {30, "AE", "AF", "AG", 6, " 10/30 "},
        {270, "JK", "JL", "JM", 30, " 10/270"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.schools);
        Exam exam;
        exam.subjects({{"语文", 100}});
        for (int i = 0; i < c.schools; ++i)
            exam.student(strprintf("学校%02d", i), "1", "甲", std::to_string(i), {std::to_string(i)});
        exam.imported().only(
            [](ExportOptions& o) { o.totalRankBands = o.totalBands = o.subjectBands = true; });
        exam.run();
        const std::string lastHeader = strprintf("学校%02d/累计", c.schools - 1);
        const std::string all = c.all;
        const SheetModel& ranks = exam.sheet("总分名次段");
        EXPECT_EQ(shown(ranks, c.lastSchool + std::string("3")), lastHeader);
        EXPECT_EQ(shown(ranks, all + "3"), "合计/累计");
        EXPECT_EQ(shown(ranks, all + std::to_string(c.lastRankRow)), c.allCount);
        EXPECT_TRUE(merged(ranks, "A1", all + "1"));
        EXPECT_TRUE(merged(exam.sheet("总分分数段"), "A1", all + "1"));
        EXPECT_EQ(shown(exam.sheet("总分分数段"), all + "14"), c.allCount);  // 0→9
        const SheetModel& subjects = exam.sheet("各科分数段");
        EXPECT_TRUE(merged(subjects, "A1", c.subjectAll + std::string("1")));
        EXPECT_EQ(shown(subjects, all + "3"), lastHeader);
        EXPECT_EQ(shown(subjects, c.subjectAll + std::string("3")), "合计/累计");
    }
}

// More than 260 bands: 2,615 students give 261 full rank bands and a partial one; a full mark of
// 2,615 gives 263 score bands with the partial band 2610→2614 under the full-mark band.
TEST(BandSheets, MoreThan260Bands) {
    Exam ranked;
    // Totals 10000, 9999, …: places 1 … 2615, odd places in 一中, even ones in 二中.
    for (int i = 0; i < 2615; ++i)
        ranked.student(i % 2 == 0 ? "一中" : "二中", "1", "甲", std::to_string(10000 - i));
    ranked.imported().only([](ExportOptions& o) { o.totalRankBands = true; });
    ranked.run();
    expectCells(ranked.sheet("总分名次段"), {
                                                {"A264", "第2601→2610名"},
                                                {"B264", "  5/1305"},
                                                {"D264", " 10/2610"},
                                                {"A265", "第2611→2615名"},
                                                {"B265", "  3/1308"},
                                                {"C265", "  2/1307"},
                                                {"D265", "  5/2615"},
                                                {"A266", ""},
                                            });

    Exam scored;
    scored.subjects({{"语文", 2615}});
    for (const char* t : {"2615", "2612", "2605", "0"}) scored.student("一中", "1", "甲", t);
    scored.imported().only([](ExportOptions& o) { o.totalBands = true; });
    scored.run();
    expectCells(scored.sheet("总分分数段"), {
                                                {"A4", "满分:2615分"},
                                                {"B4", "  1/1  "},
                                                {"A5", "2610→2614分"},
                                                {"B5", "  1/2  "},
                                                {"A6", "2600→2609分"},
                                                {"B6", "  1/3  "},
                                                {"A7", "2590→2599分"},
                                                {"B7", "  0/3  "},
                                                {"A266", "  0→9  分"},
                                                {"B266", "  1/4  "},
                                                {"A267", ""},
                                            });
}

TEST(BandSheets, FullMarkTooLargeForASheetEndsTheRun) {
    Exam exam;
    exam.subjects({{"语文", 100}});
    exam.student("一中", "1", "甲", "90", {"90"}).imported();
    exam.state.scores.fullMark[0] = 20000000;  // changed after the import
    exam.only([](ExportOptions& o) { o.subjectBands = true; });
    exam.run();
    ASSERT_EQ(exam.frontend.messages.size(), 1u);
    EXPECT_EQ(exam.frontend.messages[0].text,
              "各科分数段：语文满分 20000000 分需要 2000004 行，超过了工作表的最大行数 1048576 行！");
    EXPECT_EQ(exam.frontend.messages[0].caption, "错误");
    EXPECT_FALSE(exam.outcome.completed);
    EXPECT_EQ(exam.state.students.rowCount(), 1);
}

}  // namespace
}  // namespace varnex::testing
