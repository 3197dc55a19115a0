#include "sheets/chart_sheet.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "analysis/analysis_texts.h"
#include "base/text_util.h"
#include "sheets/print_layout.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

// The charts fill columns A … J, the width of a portrait A4 page at full size with the default
// font, one under the other: each is 19 rows high with 2 empty rows under it, so that two and the
// repeated title row fit on a page. The figures they read from the chart sheet itself are in
// tables from column L.
constexpr int kChartColumns = 10;
// Ten columns of the default width (640 pixels) less a little, so that the charts' right edge
// prints inside the print area.
constexpr int kChartWidthPixels = 632;
constexpr int kChartRows = 19;
constexpr int kSlotRows = kChartRows + 2;
constexpr int kRowPixels = 20;
constexpr int kChartsPerPage = 2;
constexpr int kTableColumn = 11;  // L
// The band labels of the total's distribution, turned to read upwards at 45 degrees.
constexpr int kBandLabelRotation = -45;

// A reference to a cell of another sheet, fixed in place: '总分分数段'!$B$4.
std::string cellOf(std::string_view sheet, int column, int row) {
    return strprintf("'%s'!$%s$%d", std::string(sheet).c_str(), columnLetters(column).c_str(), row);
}

// A cell of a figure table: boxed and centred; a formula reading a result sheet, or a text.
void tableCell(ExcelSheet& sheet, int column, int row, std::string_view value, bool formula,
               bool rateFormat = false) {
    writeBoxedCell(sheet, column, row, value, CellStyle{.rateFormat = rateFormat, .formula = formula});
}

// A line of text over the width of the charts (row 1-based).
void lineOfText(ExcelSheet& sheet, int row, std::string_view text) {
    ExcelRange range = sheet.Range(CellName(0, row), CellName(kChartColumns - 1, row));
    range.Merge(1);
    range.SetData(text);
}

SheetRange rangeOf(std::string_view sheet, int column, int firstRow, int lastColumn, int lastRow) {
    return {std::string(sheet), {{firstRow - 1, column}, {lastRow - 1, lastColumn}}};
}

ChartModel columnChart(std::string title, const char* categoryAxis, const char* valueAxis) {
    ChartModel chart;
    chart.title = std::move(title);
    chart.categoryAxisTitle = categoryAxis;
    chart.valueAxisTitle = valueAxis;
    chart.valueMin = 0;
    chart.widthPixels = kChartWidthPixels;
    chart.heightPixels = kChartRows * kRowPixels;
    return chart;
}

// The names of the blocks of 班级各科三率: the exam subjects, then the total.
std::vector<std::string> blockNames(const Exam& exam) {
    std::vector<std::string> names;
    for (const ExamSubject& subject : exam.subjects()) names.push_back(subject.name);
    names.emplace_back(kTotalName);
    return names;
}

// The table of the class-average charts: the classes in the order of the rows of 班级各科三率,
// which puts each school's classes together; per school the table rows of its classes.
struct ClassAverageTable {
    int firstRow = 0;                                // of the first class
    std::vector<std::optional<RowSpan>> schoolRows;  // per SchoolList entry, none without classes
    int lastRow = 0;
};

// From `tableRow` on: per class its school and its class label, and per block of 班级各科三率 its
// 总平均分 on the first and the last row of each school's classes, where the school's line begins
// and ends.
ClassAverageTable classAverageTable(ExcelSheet& sheet, const Exam& exam, const ClassRatesPlaces& places,
                                    int tableRow) {
    const ClassList& classes = exam.imported().classList;
    const std::vector<std::string>& schools = exam.imported().schoolList;
    const int classCount = static_cast<int>(places.classOfRow.size());
    const std::vector<std::string> blocks = blockNames(exam);
    sheet.Range(CellName(kTableColumn, tableRow), CellName(kTableColumn, tableRow))
        .SetData(tx::kBlockAverageTable);
    const int header = tableRow + 1;
    ClassAverageTable table{tableRow + 2, std::vector<std::optional<RowSpan>>(schools.size()),
                            tableRow + 1 + classCount};
    tableCell(sheet, kTableColumn, header, tx::kSchool, false);
    tableCell(sheet, kTableColumn + 1, header, tx::kClass, false);
    for (int j = 0; j < classCount; ++j) {
        auto [school, klass] = classes.parts(places.classOfRow[static_cast<size_t>(j)]);
        const int row = table.firstRow + j;
        tableCell(sheet, kTableColumn, row, school, false);
        tableCell(sheet, kTableColumn + 1, row,
                  analysis_texts::kOpenBracket + klass + analysis_texts::kCloseClass, false);
        const auto k = std::find(schools.begin(), schools.end(), school) - schools.begin();
        if (k == static_cast<long>(schools.size())) continue;
        std::optional<RowSpan>& rows = table.schoolRows[static_cast<size_t>(k)];
        if (!rows) rows = RowSpan{row, row};
        rows->last = row;
    }
    for (size_t s = 0; s < blocks.size(); ++s) {
        const int column = kTableColumn + 2 + static_cast<int>(s);
        tableCell(sheet, column, header, strprintf(tx::kBlockAverageHeaderFormat, blocks[s].c_str()), false);
        const std::string average =
            "=" + cellOf(tx::kClassRates, places.blockAverageColumn, places.blocks[s].first);
        for (const std::optional<RowSpan>& rows : table.schoolRows) {
            if (!rows) continue;
            tableCell(sheet, column, rows->first, average, true, true);
            if (rows->last != rows->first) tableCell(sheet, column, rows->last, average, true, true);
        }
    }
    return table;
}

// Per block, the classes' 平均分 of one school as columns, labelled without the school, which the
// title names; the block's 总平均分 as a line across them.
void schoolClassAverageCharts(const Exam& exam, const ClassRatesPlaces& places,
                              const ClassAverageTable& table, const std::string& self, int school,
                              std::vector<std::optional<ChartModel>>& charts) {
    const std::optional<RowSpan>& rows = table.schoolRows[static_cast<size_t>(school)];
    if (!rows) return;
    const std::vector<std::string> blocks = blockNames(exam);
    const std::string& schoolName = exam.imported().schoolList[static_cast<size_t>(school)];
    const SheetRange labels = rangeOf(self, kTableColumn + 1, rows->first, kTableColumn + 1, rows->last);
    const int offset = rows->first - table.firstRow;  // of the school's first class in a block
    for (size_t s = 0; s < blocks.size(); ++s) {
        const int first = places.blocks[s].first + offset, last = first + rows->last - rows->first;
        ChartModel chart =
            columnChart(strprintf(tx::kClassAverageChartFormat, (schoolName + blocks[s]).c_str()),
                        tx::kClassAxis, tx::kAverageAxis);
        chart.series.push_back(
            {tx::kAverageSeries,
             rangeOf(tx::kClassRates, places.averageColumn, first, places.averageColumn, last), labels,
             false});
        const int column = kTableColumn + 2 + static_cast<int>(s);
        chart.series.push_back({tx::kBlockAverageSeries,
                                rangeOf(self, column, rows->first, column, rows->last), std::nullopt, true});
        charts.emplace_back(std::move(chart));
    }
}

// A school whose charts the sheet shows: its SchoolList entry and its place among the schools the
// result sheets of the workbook show (the same but in a part's own workbook, which shows one).
struct ShownSchool {
    size_t entry;
    size_t shown;
};

// Per school, 优秀率 and 及格率 (and with 四率 低分率) of every subject and the total, read from
// 年级各科三率.
ChartModel schoolRatesChart(const Exam& exam, const GradeRatesPlaces& places, ShownSchool shownSchool) {
    const int school = static_cast<int>(shownSchool.shown);
    const int firstColumn = places.firstFigureColumn, lastColumn = places.lastFigureColumn;
    const SheetRange headers =
        rangeOf(tx::kGradeRates, firstColumn, places.headerRow, lastColumn, places.headerRow);
    const bool withLow = static_cast<size_t>(school) < places.lowRateRows.size();
    ChartModel chart =
        columnChart(strprintf(withLow ? tx::kSchoolFourRatesChartFormat : tx::kSchoolRatesChartFormat,
                              exam.imported().schoolList[shownSchool.entry].c_str()),
                    tx::kSubjectAxis, tx::kRateAxis);
    chart.valueMax = 100;
    const int excellent = places.excellentRateRows[static_cast<size_t>(school)];
    const int pass = places.passRateRows[static_cast<size_t>(school)];
    chart.series.push_back({tx::kExcellentRateSeries,
                            rangeOf(tx::kGradeRates, firstColumn, excellent, lastColumn, excellent),
                            headers});
    chart.series.push_back(
        {tx::kPassRateSeries, rangeOf(tx::kGradeRates, firstColumn, pass, lastColumn, pass), headers});
    // With 四率, 低分率 beside them.
    if (withLow) {
        const int low = places.lowRateRows[static_cast<size_t>(school)];
        chart.series.push_back(
            {tx::kLowRateSeries, rangeOf(tx::kGradeRates, firstColumn, low, lastColumn, low), headers});
    }
    return chart;
}

// The bands of 总分分数段 from the highest that holds a total down to the lowest (all of them when
// none does), as band numbers (0: the band from 0).
RowSpan occupiedBands(const TotalBandsPlaces& places) {
    if (places.highestOccupied < places.lowestOccupied)
        return {static_cast<int>(places.bandRows.size()) - 1, 0};
    return {places.highestOccupied, places.lowestOccupied};
}

// The band counts of 总分分数段 in a table from `tableRow` on: the labels of the occupied bands and,
// per school, the count in the band read out of its "count/cumulative" text. The first row of the
// counts.
int bandCountTable(ExcelSheet& sheet, const Exam& exam, const TotalBandsPlaces& places,
                   const std::vector<ShownSchool>& shown, int tableRow) {
    std::vector<std::string> schools;
    for (const ShownSchool& school : shown) schools.push_back(exam.imported().schoolList[school.entry]);
    const RowSpan bands = occupiedBands(places);
    sheet.Range(CellName(kTableColumn, tableRow), CellName(kTableColumn, tableRow))
        .SetData(tx::kBandCountTable);
    const int header = tableRow + 1, first = tableRow + 2;
    tableCell(sheet, kTableColumn, header, tx::kBandHeader, false);
    for (size_t i = 0; i < schools.size(); ++i)
        tableCell(sheet, kTableColumn + 1 + static_cast<int>(i), header, schools[i], false);
    // The rows run as on 总分分数段: the highest band first.
    for (int band = bands.first; band >= bands.last; --band) {
        const int bandRow = places.bandRows[static_cast<size_t>(band)];
        const int row = first + bands.first - band;
        tableCell(sheet, kTableColumn, row, "=" + cellOf(tx::kTotalBands, places.labelColumn, bandRow), true);
        for (size_t i = 0; i < schools.size(); ++i) {
            const std::string count = cellOf(tx::kTotalBands, places.schoolColumns[i], bandRow);
            tableCell(sheet, kTableColumn + 1 + static_cast<int>(i), row,
                      strprintf("=VALUE(LEFT(%s,FIND(\"/\",%s)-1))", count.c_str(), count.c_str()), true);
        }
    }
    return first;
}

// Per school, how many totals fall into each occupied band, from the lowest on the left; the same
// bands for every school, so that the charts compare.
ChartModel schoolBandsChart(const Exam& exam, const TotalBandsPlaces& places, const std::string& self,
                            ShownSchool school, int firstCountRow) {
    const RowSpan bands = occupiedBands(places);
    ChartModel chart =
        columnChart(strprintf(tx::kSchoolBandsChartFormat, exam.imported().schoolList[school.entry].c_str()),
                    tx::kBandHeader, tx::kCountAxis);
    const int column = kTableColumn + 1 + static_cast<int>(school.shown);
    chart.series.push_back(
        {tx::kCountSeries,
         rangeOf(self, column, firstCountRow, column, firstCountRow + bands.first - bands.last),
         rangeOf(tx::kTotalBands, places.labelColumn, places.bandRows[static_cast<size_t>(bands.first)],
                 places.labelColumn, places.bandRows[static_cast<size_t>(bands.last)])});
    chart.reverseCategories = true;
    chart.legend = false;
    chart.categoryLabelRotation = kBandLabelRotation;
    return chart;
}

// The total's share of each level per school (or class) and for the whole exam, read from 等级分布,
// in a table from `tableRow` on: a row per compared group, a column per level.
int levelShareTable(ExcelSheet& sheet, const LevelDistributionPlaces& places, int tableRow) {
    sheet.Range(CellName(kTableColumn, tableRow), CellName(kTableColumn, tableRow))
        .SetData(tx::kLevelShareTable);
    const int header = tableRow + 1, first = tableRow + 2;
    tableCell(sheet, kTableColumn, header, places.bySchool ? tx::kSchool : tx::kClass, false);
    for (size_t k = 0; k < places.levelNames.size(); ++k)
        tableCell(sheet, kTableColumn + 1 + static_cast<int>(k), header,
                  strprintf(tx::kLevelShareFormat, places.levelNames[k].c_str()), false);
    for (size_t i = 0; i < places.rows.size(); ++i) {
        const int row = first + static_cast<int>(i);
        tableCell(sheet, kTableColumn, row, places.labels[i], false);
        for (size_t k = 0; k < places.shareColumns.size(); ++k)
            tableCell(sheet, kTableColumn + 1 + static_cast<int>(k), row,
                      "=" + cellOf(tx::kLevelDistribution, places.shareColumns[k], places.rows[i]), true,
                      true);
    }
    return first;
}

// The shares of the levels side by side for every school (or class) and the whole exam, a series
// per level.
ChartModel levelsChart(const LevelDistributionPlaces& places, const std::string& self, int firstRow) {
    ChartModel chart = columnChart(places.bySchool ? tx::kSchoolLevelsChart : tx::kClassLevelsChart,
                                   places.bySchool ? tx::kSchool : tx::kClass, tx::kRateAxis);
    chart.valueMax = 100;
    const int lastRow = firstRow + static_cast<int>(places.rows.size()) - 1;
    const SheetRange labels = rangeOf(self, kTableColumn, firstRow, kTableColumn, lastRow);
    for (size_t k = 0; k < places.levelNames.size(); ++k) {
        const int column = kTableColumn + 1 + static_cast<int>(k);
        chart.series.push_back(
            {places.levelNames[k], rangeOf(self, column, firstRow, column, lastRow), labels});
    }
    return chart;
}

// Puts the charts in their places, two to a page (an empty place keeps a page's second half
// free), and prints columns A … J of them on portrait A4, shrunk to one page wide where the
// viewer's font makes the columns wider than the charts were made for. The title row, repeated on
// every page, is its heading.
void placeCharts(ExcelSheet& sheet, std::vector<std::optional<ChartModel>>& charts, int firstRow) {
    PageSetup setup;
    setup.paperSize = PageSetup::kPaperA4;
    setup.fitToPagesWide = 1;
    setup.titleFirstRow = 1;
    setup.titleLastRow = 1;
    setup.centerHorizontally = true;
    setup.centerFooter = tx::kPageNumberFooter;
    for (size_t i = 0; i < charts.size(); ++i) {
        const int row = firstRow + static_cast<int>(i) * kSlotRows;
        if (i > 0 && i % kChartsPerPage == 0) setup.rowBreaks.push_back(row);
        if (!charts[i]) continue;
        charts[i]->anchor = {row - 1, 0};
        sheet.AddChart(std::move(*charts[i]));
    }
    const int lastRow = std::max(firstRow - 1, firstRow + static_cast<int>(charts.size()) * kSlotRows - 1);
    setup.printArea = CellRange{{0, 0}, {lastRow - 1, kChartColumns - 1}};
    sheet.SetPageSetup(setup);
}

}  // namespace

void writeChartSheet(ExcelSheet& sheet, const Exam& exam, const FigurePlaces& places,
                     const std::string& title, const SheetScope& scope) {
    std::vector<ShownSchool> shown;
    for (size_t entry : scope.shownSchools(exam.imported().schoolList))
        shown.push_back({entry, shown.size()});
    const bool classRates = places.classRates.has_value() && !places.classRates->blocks.empty();
    const bool gradeRates = places.gradeRates.has_value();
    const bool totalBands = places.totalBands.has_value();
    const bool bandCharts = totalBands && !places.totalBands->bandRows.empty();
    writeTitleRow(sheet, kChartColumns - 1, title);
    int row = 2;
    // The rate sheets of each track (按科类分别统计) are not charted: their classes and schools are
    // the track's.
    const bool byTrack = !exam.tracks().empty();
    if (!places.classRates)
        lineOfText(sheet, row++,
                   byTrack && exam.options().classRates ? tx::kClassRatesByTrackNote : tx::kNoClassRatesNote);
    if (!gradeRates)
        lineOfText(sheet, row++,
                   byTrack && exam.options().gradeRates ? tx::kGradeRatesByTrackNote : tx::kNoGradeRatesNote);
    if (!totalBands) lineOfText(sheet, row++, tx::kNoTotalBandsNote);
    const int firstChartRow = row + 1;

    const std::string self = sheet.GetName();
    int tableRow = 3;
    std::optional<ClassAverageTable> averages;
    if (classRates) {
        averages = classAverageTable(sheet, exam, *places.classRates, tableRow);
        tableRow = averages->lastRow + 2;
    }
    const int firstCountRow =
        totalBands ? bandCountTable(sheet, exam, *places.totalBands, shown, tableRow) : 0;
    if (totalBands) {
        const RowSpan bands = occupiedBands(*places.totalBands);
        tableRow = firstCountRow + bands.first - bands.last + 2;
    }
    const int firstShareRow =
        places.levelDistribution ? levelShareTable(sheet, *places.levelDistribution, tableRow) : 0;
    // Each school's charts begin on a page of their own.
    std::vector<std::optional<ChartModel>> charts;
    for (const ShownSchool& school : shown) {
        if (charts.size() % kChartsPerPage != 0) charts.emplace_back();
        if (averages)
            schoolClassAverageCharts(exam, *places.classRates, *averages, self,
                                     static_cast<int>(school.entry), charts);
        if (gradeRates) charts.emplace_back(schoolRatesChart(exam, *places.gradeRates, school));
        if (bandCharts)
            charts.emplace_back(schoolBandsChart(exam, *places.totalBands, self, school, firstCountRow));
    }
    // The levels of all schools, on a page of their own.
    if (places.levelDistribution) {
        if (charts.size() % kChartsPerPage != 0) charts.emplace_back();
        charts.emplace_back(levelsChart(*places.levelDistribution, self, firstShareRow));
    }
    sheet.AutoFitColumns();
    placeCharts(sheet, charts, firstChartRow);
}

}  // namespace varnex
