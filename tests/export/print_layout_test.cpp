// How the result workbook reads and prints: each sheet's page setup and frozen panes, the cells
// that stay exactly as without them, the 目录 links and the 统计图表 sheet with the ranges its
// charts read.

#include "sheets/print_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/text_util.h"
#include "readers/workbook_reader.h"
#include "sheets/sheet_texts.h"
#include "tests/export/exam_fixture.h"
#include "tests/support/xlsx_parts.h"

namespace varnex::testing {
namespace {

// Two schools: 一中 with classes 1 and 2, 二中 with class 1; 语文 and 数学 of 100 each.
void twoSchools(Exam& exam) {
    exam.subjects({{"语文", 100}, {"数学", 100}});
    exam.student("一中", "1", "甲", "180", {"90", "90"});
    exam.student("一中", "1", "乙", "121.5", {"60", "61.5"});
    exam.student("一中", "2", "丙", "150", {"80", "70"});
    exam.student("一中", "2", "丁", "40", {"0", "40"});
    exam.student("二中", "1", "戊", "200", {"100", "100"});
    exam.student("二中", "1", "己", "99", {"50", "49"});
    exam.imported().teachers();
}

void everyReport(ExportOptions& o) {
    o.gradeRates = o.classRates = o.teacherRates = o.subjectBands = o.totalBands = o.totalRankBands =
        o.topNEnabled = o.classRanking = true;
    o.topN = 5;
    o.classRankingLayout = 0;
}

// The cells of every sheet of a saved workbook as our reader reads them, by sheet and row.
std::map<std::string, std::vector<std::vector<std::string>>> readBack(const std::string& path) {
    std::map<std::string, std::vector<std::vector<std::string>>> sheets;
    auto reader = openWorkbookReader(path);
    EXPECT_TRUE(reader) << reader.error();
    if (!reader) return sheets;
    for (size_t i = 0; i < (*reader)->sheetNames().size(); ++i) {
        auto rows = (*reader)->openSheet(i);
        EXPECT_TRUE(rows) << rows.error();
        if (!rows) continue;
        auto& out = sheets[(*reader)->sheetNames()[i]];
        SheetRow row;
        for (Result<bool> got = (*rows)->next(row); got && *got; got = (*rows)->next(row)) {
            out.resize(row.number);
            out[row.number - 1] = row.cells;
        }
    }
    return sheets;
}

struct SheetSetup {
    const char* tab;
    bool landscape;
    int headingRows;
    FrozenPanes frozen;
};

TEST(PrintLayout, EverySheetPrintsOnePageWideWithItsHeadingsAndKeepsThemInView) {
    Exam exam;
    twoSchools(exam);
    exam.only(everyReport);
    exam.run();
    ASSERT_TRUE(exam.outcome.completed);
    // The rate sheets of classes and teachers (sixteen columns) are too wide for a portrait page at
    // a readable scale; the ranking sheets keep 序号 (and 学校, 班级) and 姓名 in view.
    const SheetSetup expected[] = {
        {"目录", false, 1, {1, 0}},        {"二中1", false, 3, {3, 2}},
        {"一中2", false, 3, {3, 2}},       {"一中1", false, 3, {3, 2}},
        {"总分前5名", false, 3, {3, 4}},   {"年级各科三率", false, 3, {3, 0}},
        {"班级各科三率", true, 3, {3, 0}}, {"教师个人三率", true, 3, {3, 0}},
        {"各科分数段", false, 3, {3, 0}},  {"总分分数段", false, 3, {3, 0}},
        {"总分名次段", false, 3, {3, 0}},
    };
    EXPECT_EQ(tabNames(*exam.outcome.workbook).size(), std::size(expected));
    for (const SheetSetup& e : expected) {
        SCOPED_TRACE(e.tab);
        const SheetModel& s = exam.sheet(e.tab);
        const PageSetup& p = s.pageSetup;
        EXPECT_EQ(p.paperSize, 9);
        EXPECT_EQ(p.landscape, e.landscape);
        EXPECT_EQ(p.fitToPagesWide, 1);
        EXPECT_EQ(p.fitToPagesTall, 0);
        EXPECT_EQ(p.titleFirstRow, 1);
        EXPECT_EQ(p.titleLastRow, e.headingRows);
        EXPECT_TRUE(p.centerHorizontally);
        EXPECT_EQ(p.centerFooter, "第 &P 页，共 &N 页");
        // The title once on every page: in the repeated title row, or in the header of 目录.
        EXPECT_EQ(p.centerHeader, std::string(e.tab) == "目录" ? "期中考试 - 目录（七年级）" : "");
        EXPECT_EQ(s.frozenPanes, e.frozen);
        EXPECT_EQ(!fitsPortrait(s.usedWidthPoints()), e.landscape);
    }
}

TEST(PrintLayout, PageHeaderTextsPrintAsWritten) {
    EXPECT_EQ(pageHeaderText("A&B 期中考试"), "A＆B 期中考试");  // "&" would start a code
    const std::string longName(300, 'x');
    const std::string header = pageHeaderText(longName);
    EXPECT_EQ(header, std::string(252, 'x') + "…");
    EXPECT_EQ(pageHeaderText(std::string(253, 'y')), std::string(253, 'y'));
}

TEST(PrintLayout, PageBreaksKeepEachBlockOnOnePage) {
    struct Case {
        const char* name;
        std::vector<RowSpan> blocks;
        std::vector<int> breaks;
    };
    // Rows from 4 on, ten to a page.
    const Case cases[] = {
        {"blocks that fit run on", {{4, 8}, {9, 13}, {14, 16}}, {14}},
        {"a block that would cross the page begins the next", {{4, 9}, {10, 15}}, {10}},
        {"a longer block begins a page, and so does what follows", {{4, 6}, {7, 20}, {21, 23}}, {7, 21}},
        {"a longer block at the top of a page", {{4, 17}, {18, 19}}, {18}},
        {"rows outside the blocks take their place", {{6, 10}, {13, 17}}, {13}},
        {"no blocks", {}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(blockPageBreaks(c.blocks, 4, 10), c.breaks) << c.name;

    // A4 less the margins, 15 points to a row, under three repeated rows; a sheet wider than the
    // page shrinks to 49 % and holds twice as many.
    EXPECT_EQ(rowsPerPage(400, false, 3), 45);
    EXPECT_EQ(rowsPerPage(400, true, 3), 29);
    EXPECT_EQ(rowsPerPage(1000, false, 3), 96);

    // 班级各科三率 of fifteen classes: two blocks of fifteen rows fill a landscape page, the third
    // (总分) begins the next; 各科分数段's two blocks of eleven bands fit on one page.
    Exam exam;
    exam.subjects({{"语文", 100}, {"数学", 100}});
    for (int c = 1; c <= 15; ++c)
        exam.student("一中", std::to_string(c), "学生" + std::to_string(c), "150", {"70", "80"});
    exam.imported().teachers().only([](ExportOptions& o) { o.classRates = o.subjectBands = true; });
    exam.run();
    ASSERT_TRUE(exam.outcome.completed);
    const PageSetup& rates = exam.sheet("班级各科三率").pageSetup;
    EXPECT_TRUE(rates.landscape);
    EXPECT_EQ(rates.rowBreaks, std::vector<int>{34});
    EXPECT_EQ(exam.sheet("各科分数段").pageSetup.rowBreaks, std::vector<int>{});
}

TEST(PrintLayout, CellsStayAsTheyAreWithLayoutAndCharts) {
    Exam plain, laidOut;
    for (Exam* exam : {&plain, &laidOut}) {
        twoSchools(*exam);
        exam->only(everyReport);
    }
    plain.state.exportOptions.printLayout = false;
    laidOut.state.exportOptions.charts = true;
    plain.run();
    laidOut.run();
    ASSERT_TRUE(plain.outcome.completed);
    ASSERT_TRUE(laidOut.outcome.completed);
    EXPECT_TRUE(plain.sheet("班级各科三率").columnWidths.size() <
                laidOut.sheet("班级各科三率").columnWidths.size());

    // Through our own reader: every sheet reads the same; 目录 has one more row, for 统计图表, whose
    // tab comes first.
    auto before = readBack(plain.outcome.savedPath);
    auto after = readBack(laidOut.outcome.savedPath);
    ASSERT_EQ(after.count("统计图表"), 1u);
    for (const auto& [name, rows] : before) {
        SCOPED_TRACE(name);
        auto was = rows;
        if (name == "目录") was.insert(was.begin() + 1, {"统计图表", "期中考试 - 统计图表（七年级）"});
        EXPECT_EQ(after[name], was);
    }
    // In the model: values, formats and merges; the widths the writers set are kept.
    for (const std::string& name : tabNames(*plain.outcome.workbook)) {
        SCOPED_TRACE(name);
        const SheetModel& a = plain.sheet(name);
        const SheetModel& b = laidOut.sheet(name);
        EXPECT_EQ(a.merges, b.merges);
        for (const auto& [column, width] : a.columnWidths) EXPECT_EQ(b.columnWidths.at(column), width);
        EXPECT_EQ(a.rowCount() + (name == "目录" ? 1 : 0), b.rowCount());
        if (name == "目录") continue;  // its rows moved down, read back above
        for (int r = 0; r < a.rowCount(); ++r) {
            ASSERT_EQ(a.columnCount(r), b.columnCount(r)) << r;
            for (int c = 0; c < a.columnCount(r); ++c) {
                const Cell& x = *a.cell(r, c);
                const Cell& y = *b.cell(r, c);
                EXPECT_TRUE(x.kind == y.kind && x.text() == y.text() && x.number() == y.number() &&
                            x.borders == y.borders && x.horizontalAlign == y.horizontalAlign &&
                            x.verticalCenter == y.verticalCenter && x.numberFormat == y.numberFormat &&
                            x.inMerge == y.inMerge)
                    << CellName(c, r + 1);
            }
        }
    }
}

TEST(Contents, EveryEntryLeadsToItsSheet) {
    Exam exam;
    exam.student("一中", "O'1", "甲", "180").student("1", "2", "乙", "150").imported();
    exam.only([](ExportOptions& o) {
        o.classRanking = true;
        o.classRankingLayout = 0;
        o.totalBands = true;
    });
    exam.run();
    ASSERT_TRUE(exam.outcome.completed);
    const SheetModel& contents = exam.sheet("目录");
    ASSERT_EQ(contents.links.size(), 3u);
    for (const SheetLink& link : contents.links) {
        EXPECT_EQ(link.cell.column, 0);
        EXPECT_EQ(shown(contents, CellName(0, link.cell.row + 1)), link.sheet);
        EXPECT_NE(exam.outcome.workbook->sheetNamed(link.sheet), nullptr) << link.sheet;
    }
    const std::string xml = zipPart(exam.outcome.savedPath, "xl/worksheets/sheet1.xml");
    EXPECT_NE(xml.find("<hyperlink ref=\"A2\" location=\"'一中O''1'!A1\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("<hyperlink ref=\"A3\" location=\"'12'!A1\""), std::string::npos);
    EXPECT_NE(xml.find("<hyperlink ref=\"A4\" location=\"'总分分数段'!A1\""), std::string::npos);
    // The tab name 12 is still the number the cell held.
    EXPECT_EQ(xmlCell(xml, "A3").type, "");
    EXPECT_EQ(xmlCell(xml, "A3").value, "12");
}

// A range as a chart series reads it: 'sheet'!$A$1:$B$2.
std::string rangeText(const SheetRange& r) {
    return strprintf("'%s'!$%s$%d:$%s$%d", r.sheet.c_str(), columnLetters(r.range.first.column).c_str(),
                     r.range.first.row + 1, columnLetters(r.range.last.column).c_str(), r.range.last.row + 1);
}

TEST(ChartSheet, ChartsReadTheFiguresOfTheResultSheets) {
    Exam exam;
    twoSchools(exam);
    exam.only([](ExportOptions& o) { o.classRates = o.gradeRates = o.totalBands = o.charts = true; });
    exam.run();
    ASSERT_TRUE(exam.outcome.completed);
    EXPECT_EQ(tabNames(*exam.outcome.workbook),
              (std::vector<std::string>{"目录", "统计图表", "年级各科三率", "班级各科三率", "总分分数段"}));
    const SheetModel& s = exam.sheet("统计图表");
    EXPECT_EQ(shown(s, "A1"), "期中考试 - 统计图表（七年级）");

    // Per school, its pages begin with the classes' averages on 班级各科三率 of each block (语文, 数学,
    // 总分), labelled with the classes of its rows in the table beside the charts, and the block
    // average as a line from that table; then its rates on 年级各科三率 under the subject headers,
    // and its band counts read out of 总分分数段 under the band labels, for the bands from the
    // lowest total of the exam (40) to the highest (200).
    struct Expected {
        const char* title;
        std::vector<std::pair<std::string, std::string>> series;  // values, categories ("": none)
    };
    const std::string first = "'统计图表'!$M$5:$M$6", second = "'统计图表'!$M$7:$M$7";
    const std::vector<Expected> expected = {
        {"一中语文各班平均分", {{"'班级各科三率'!$M$4:$M$5", first}, {"'统计图表'!$N$5:$N$6", ""}}},
        {"一中数学各班平均分", {{"'班级各科三率'!$M$7:$M$8", first}, {"'统计图表'!$O$5:$O$6", ""}}},
        {"一中总分各班平均分", {{"'班级各科三率'!$M$10:$M$11", first}, {"'统计图表'!$P$5:$P$6", ""}}},
        {"一中各科优秀率和及格率",
         {{"'年级各科三率'!$D$6:$F$6", "'年级各科三率'!$D$3:$F$3"},
          {"'年级各科三率'!$D$12:$F$12", "'年级各科三率'!$D$3:$F$3"}}},
        {"一中总分分布", {{"'统计图表'!$M$11:$M$27", "'总分分数段'!$A$4:$A$20"}}},
        {"二中语文各班平均分", {{"'班级各科三率'!$M$6:$M$6", second}, {"'统计图表'!$N$7:$N$7", ""}}},
        {"二中数学各班平均分", {{"'班级各科三率'!$M$9:$M$9", second}, {"'统计图表'!$O$7:$O$7", ""}}},
        {"二中总分各班平均分", {{"'班级各科三率'!$M$12:$M$12", second}, {"'统计图表'!$P$7:$P$7", ""}}},
        {"二中各科优秀率和及格率",
         {{"'年级各科三率'!$D$7:$F$7", "'年级各科三率'!$D$3:$F$3"},
          {"'年级各科三率'!$D$13:$F$13", "'年级各科三率'!$D$3:$F$3"}}},
        {"二中总分分布", {{"'统计图表'!$N$11:$N$27", "'总分分数段'!$A$4:$A$20"}}},
    };
    ASSERT_EQ(s.charts.size(), expected.size());
    // Two to a page: 二中's charts start a page of their own, after an empty place.
    const int anchors[] = {3, 24, 45, 66, 87, 129, 150, 171, 192, 213};
    for (size_t i = 0; i < expected.size(); ++i) {
        const ChartModel& chart = s.charts[i];
        SCOPED_TRACE(expected[i].title);
        EXPECT_EQ(chart.title, expected[i].title);
        EXPECT_EQ(chart.anchor.row + 1, anchors[i]);
        ASSERT_EQ(chart.series.size(), expected[i].series.size());
        for (size_t k = 0; k < chart.series.size(); ++k) {
            const ChartSeries& series = chart.series[k];
            EXPECT_EQ(rangeText(series.values), expected[i].series[k].first);
            EXPECT_EQ(series.categories ? rangeText(*series.categories) : "", expected[i].series[k].second);
        }
        const bool averages = i % 5 < 3;
        EXPECT_EQ(chart.series.back().levelLine, averages);  // the block average
        EXPECT_EQ(chart.categoryLabelRotation, i % 5 == 4 ? -45 : 0);
    }
    EXPECT_EQ(s.pageSetup.rowBreaks, (std::vector<int>{45, 87, 129, 171, 213}));
    ASSERT_TRUE(s.pageSetup.printArea);
    EXPECT_EQ(s.pageSetup.printArea->last, (CellPos{232, 9}));
    // Shrunk to one page wide where the viewer's font widens the columns; no page header, since
    // the title row repeats.
    EXPECT_EQ(s.pageSetup.fitToPagesWide, 1);
    EXPECT_EQ(s.pageSetup.fitToPagesTall, 0);
    EXPECT_EQ(s.pageSetup.titleLastRow, 1);
    EXPECT_EQ(s.pageSetup.centerHeader, "");

    // The table cells read the result sheets, with the values they show there.
    const SheetModel& classes = exam.sheet("班级各科三率");
    const SheetModel& bands = exam.sheet("总分分数段");
    const std::pair<const char*, const char*> labels[] = {
        {"L5", "一中"}, {"M5", "（1）班"}, {"M6", "（2）班"}, {"L7", "二中"}, {"M7", "（1）班"}};
    for (const auto& [cell, label] : labels) EXPECT_EQ(shown(s, cell), label) << cell;
    // The line of a block average runs from a school's first class to its last.
    EXPECT_EQ(shown(s, "N5"), "='班级各科三率'!$O$4");
    EXPECT_EQ(shown(s, "N6"), "='班级各科三率'!$O$4");
    EXPECT_EQ(shown(s, "N7"), "='班级各科三率'!$O$4");
    EXPECT_EQ(shown(s, "P7"), "='班级各科三率'!$O$10");
    EXPECT_DOUBLE_EQ(s.at("N5")->cachedNumber(), classes.at("O4")->cachedNumber());
    EXPECT_DOUBLE_EQ(s.at("P7")->cachedNumber(), classes.at("O10")->cachedNumber());
    for (int k = 0; k < 17; ++k) {
        for (int school = 0; school < 2; ++school) {
            const std::string band = CellName(1 + school, 4 + k);
            const Cell* count = s.at(CellName(12 + school, 11 + k));
            ASSERT_NE(count, nullptr);
            ASSERT_TRUE(count->cached().isNumber()) << band;
            EXPECT_EQ(count->cachedNumber(), cAtoi(shown(bands, band))) << band << " " << shown(bands, band);
        }
        EXPECT_EQ(s.at(CellName(11, 11 + k))->cached().text, shown(bands, CellName(0, 4 + k)));
    }
    EXPECT_EQ(s.at(CellName(11, 11))->cached().text, shown(bands, "A4"));   // the full-mark band
    EXPECT_EQ(s.at(CellName(11, 27))->cached().text, shown(bands, "A20"));  // 一中's 40 in 40→49
    EXPECT_EQ(s.at("L28"), nullptr);
    EXPECT_EQ(s.at("M13")->cachedNumber(), 1);  // 一中's 180 in 180→189
    EXPECT_EQ(s.at("N11")->cachedNumber(), 1);  // 二中's 200 in the full-mark band

    // In the saved file the chart parts hold the same ranges.
    // The values go without a copy in the chart (for a range of formulas it would hold 0s): the
    // applications read the cells; the labels keep theirs.
    const std::string averages = zipPart(exam.outcome.savedPath, "xl/charts/chart1.xml");
    EXPECT_NE(averages.find("<c:f>'班级各科三率'!$M$4:$M$5</c:f></c:numRef>"), std::string::npos) << averages;
    EXPECT_NE(averages.find("<c:f>'统计图表'!$M$5:$M$6</c:f><c:strCache>"), std::string::npos);
    EXPECT_NE(averages.find("<c:f>'统计图表'!$N$5:$N$6</c:f></c:numRef>"), std::string::npos);
    EXPECT_NE(averages.find("<c:trendline>"), std::string::npos);
    // 二中's one class: its block average, a single value, stands as a red column.
    const std::string oneClass = zipPart(exam.outcome.savedPath, "xl/charts/chart6.xml");
    EXPECT_NE(oneClass.find("<c:f>'统计图表'!$N$7</c:f>"), std::string::npos) << oneClass;
    EXPECT_EQ(oneClass.find("<c:trendline>"), std::string::npos);
    EXPECT_NE(oneClass.find("<a:srgbClr val=\"FF0000\"/>"), std::string::npos);
    const std::string rates = zipPart(exam.outcome.savedPath, "xl/charts/chart4.xml");
    EXPECT_NE(rates.find("<c:f>'年级各科三率'!$D$6:$F$6</c:f>"), std::string::npos) << rates;
    EXPECT_NE(rates.find("<c:f>'年级各科三率'!$D$12:$F$12</c:f>"), std::string::npos);
    const std::string spread = zipPart(exam.outcome.savedPath, "xl/charts/chart10.xml");
    EXPECT_NE(spread.find("<c:f>'总分分数段'!$A$4:$A$20</c:f>"), std::string::npos) << spread;
    EXPECT_NE(spread.find("<c:f>'统计图表'!$N$11:$N$27</c:f>"), std::string::npos);
    EXPECT_NE(spread.find("<c:orientation val=\"maxMin\"/>"), std::string::npos);
    EXPECT_NE(spread.find("rot=\"-2700000\""), std::string::npos);
    EXPECT_NE(zipPart(exam.outcome.savedPath, "xl/worksheets/_rels/sheet2.xml.rels").find("drawing1.xml"),
              std::string::npos);
}

TEST(ChartSheet, SaysWhichChartsItLeavesOut) {
    struct Case {
        const char* name;
        void (*set)(ExportOptions&);
        std::vector<std::string> notes;
        size_t charts;
    };
    const Case cases[] = {
        {"only the total bands",
         [](ExportOptions& o) { o.totalBands = true; },
         {sheet_texts::kNoClassRatesNote, sheet_texts::kNoGradeRatesNote},
         2},
        {"only the charts",
         [](ExportOptions&) {},
         {sheet_texts::kNoClassRatesNote, sheet_texts::kNoGradeRatesNote, sheet_texts::kNoTotalBandsNote},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exam exam;
        twoSchools(exam);
        exam.only([&](ExportOptions& o) {
            o.charts = true;
            c.set(o);
        });
        exam.run();
        ASSERT_TRUE(exam.outcome.completed);
        const SheetModel& s = exam.sheet("统计图表");
        for (size_t i = 0; i < c.notes.size(); ++i) {
            EXPECT_EQ(shown(s, CellName(0, 2 + static_cast<int>(i))), c.notes[i]);
            EXPECT_TRUE(
                merged(s, CellName(0, 2 + static_cast<int>(i)), CellName(9, 2 + static_cast<int>(i))));
        }
        EXPECT_EQ(s.charts.size(), c.charts);
        // The first chart comes after the notes and an empty row.
        if (!s.charts.empty()) {
            EXPECT_EQ(s.charts.front().anchor.row + 1, 3 + static_cast<int>(c.notes.size()));
        }
        EXPECT_EQ(shown(exam.sheet("目录"), "A2"), "统计图表");
    }
}

}  // namespace
}  // namespace varnex::testing
