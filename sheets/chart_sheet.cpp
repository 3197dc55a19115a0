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

// The charts fill columns A … J, the width of a portrait A4 page at full size, one under the
// other: each is 19 rows high with 2 empty rows under it, so that two and the repeated title row
// fit on a page. The figures they read from the chart sheet itself are in tables from column L.
constexpr int kChartColumns = 10;
constexpr int kChartWidthPixels = 640;  // ten columns of the default width
constexpr int kChartRows = 19;
constexpr int kSlotRows = kChartRows + 2;
constexpr int kRowPixels = 20;
constexpr int kChartsPerPage = 2;
constexpr int kTableColumn = 11;  // L

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

// Per subject and for the total, the classes' 平均分 as columns, and the block's 总平均分 as a line
// across them. A table from `tableRow` on holds the class labels (school and class) and, for each
// block, its 总平均分 on the first and the last class's row, where the line begins and ends; the
// averages are read from 班级各科三率 itself. The table's last row.
int classAverageCharts(ExcelSheet& sheet, const Exam& exam, const ClassRatesPlaces& places, int tableRow,
                       std::vector<std::optional<ChartModel>>& charts) {
    const ClassList& classes = exam.imported().classList;
    const int classCount = static_cast<int>(places.classOfRow.size());
    const std::vector<std::string> blocks = blockNames(exam);
    const std::string self = sheet.GetName();
    sheet.Range(CellName(kTableColumn, tableRow), CellName(kTableColumn, tableRow))
        .SetData(tx::kBlockAverageTable);
    const int header = tableRow + 1, first = tableRow + 2, last = first + classCount - 1;
    tableCell(sheet, kTableColumn, header, tx::kClass, false);
    for (size_t s = 0; s < blocks.size(); ++s) {
        const int column = kTableColumn + 1 + static_cast<int>(s);
        tableCell(sheet, column, header, strprintf(tx::kBlockAverageHeaderFormat, blocks[s].c_str()), false);
        const std::string average =
            "=" + cellOf(tx::kClassRates, places.blockAverageColumn, places.blocks[s].first);
        tableCell(sheet, column, first, average, true, true);
        if (last != first) tableCell(sheet, column, last, average, true, true);
    }
    // The labels in the order of the class rows, which the averages are read in.
    for (int j = 0; j < classCount; ++j) {
        auto [school, klass] = classes.parts(places.classOfRow[static_cast<size_t>(j)]);
        tableCell(sheet, kTableColumn, first + j,
                  school + analysis_texts::kOpenBracket + klass + analysis_texts::kCloseClass, false);
    }
    const SheetRange labels = rangeOf(self, kTableColumn, first, kTableColumn, last);
    for (size_t s = 0; s < blocks.size(); ++s) {
        const RowSpan rows = places.blocks[s];
        ChartModel chart = columnChart(strprintf(tx::kClassAverageChartFormat, blocks[s].c_str()),
                                       tx::kClassAxis, tx::kAverageAxis);
        chart.series.push_back(
            {tx::kAverageSeries,
             rangeOf(tx::kClassRates, places.averageColumn, rows.first, places.averageColumn, rows.last),
             labels, false});
        const int column = kTableColumn + 1 + static_cast<int>(s);
        chart.series.push_back(
            {tx::kBlockAverageSeries, rangeOf(self, column, first, column, last), std::nullopt, true});
        charts.emplace_back(std::move(chart));
    }
    return last;
}

// Per school, 优秀率 and 及格率 of every subject and the total, read from 年级各科三率.
ChartModel schoolRatesChart(const Exam& exam, const GradeRatesPlaces& places, int school) {
    const int firstColumn = places.firstFigureColumn, lastColumn = places.lastFigureColumn;
    const SheetRange headers =
        rangeOf(tx::kGradeRates, firstColumn, places.headerRow, lastColumn, places.headerRow);
    ChartModel chart = columnChart(strprintf(tx::kSchoolRatesChartFormat,
                                             exam.imported().schoolList[static_cast<size_t>(school)].c_str()),
                                   tx::kSubjectAxis, tx::kRateAxis);
    chart.valueMax = 100;
    const int excellent = places.excellentRateRows[static_cast<size_t>(school)];
    const int pass = places.passRateRows[static_cast<size_t>(school)];
    chart.series.push_back({tx::kExcellentRateSeries,
                            rangeOf(tx::kGradeRates, firstColumn, excellent, lastColumn, excellent),
                            headers});
    chart.series.push_back(
        {tx::kPassRateSeries, rangeOf(tx::kGradeRates, firstColumn, pass, lastColumn, pass), headers});
    return chart;
}

// The band counts of 总分分数段 in a table from `tableRow` on: the band labels and, per school, the
// count in the band read out of its "count/cumulative" text. The first row of the counts.
int bandCountTable(ExcelSheet& sheet, const Exam& exam, const TotalBandsPlaces& places, int tableRow) {
    const std::vector<std::string>& schools = exam.imported().schoolList;
    const int bandCount = static_cast<int>(places.bandRows.size());
    sheet.Range(CellName(kTableColumn, tableRow), CellName(kTableColumn, tableRow))
        .SetData(tx::kBandCountTable);
    const int header = tableRow + 1, first = tableRow + 2;
    tableCell(sheet, kTableColumn, header, tx::kBandHeader, false);
    for (size_t i = 0; i < schools.size(); ++i)
        tableCell(sheet, kTableColumn + 1 + static_cast<int>(i), header, schools[i], false);
    // The rows run as on 总分分数段: the full-mark band first.
    for (int k = 0; k < bandCount; ++k) {
        const int bandRow = places.bandRows[static_cast<size_t>(bandCount - 1 - k)];
        tableCell(sheet, kTableColumn, first + k, "=" + cellOf(tx::kTotalBands, places.labelColumn, bandRow),
                  true);
        for (size_t i = 0; i < schools.size(); ++i) {
            const std::string count = cellOf(tx::kTotalBands, places.schoolColumns[i], bandRow);
            tableCell(sheet, kTableColumn + 1 + static_cast<int>(i), first + k,
                      strprintf("=VALUE(LEFT(%s,FIND(\"/\",%s)-1))", count.c_str(), count.c_str()), true);
        }
    }
    return first;
}

// Per school, how many totals fall into each band, from the lowest band on the left.
ChartModel schoolBandsChart(const Exam& exam, const TotalBandsPlaces& places, const std::string& self,
                            int school, int firstCountRow) {
    const int bandCount = static_cast<int>(places.bandRows.size());
    ChartModel chart = columnChart(strprintf(tx::kSchoolBandsChartFormat,
                                             exam.imported().schoolList[static_cast<size_t>(school)].c_str()),
                                   tx::kBandHeader, tx::kCountAxis);
    const int column = kTableColumn + 1 + school;
    chart.series.push_back(
        {tx::kCountSeries, rangeOf(self, column, firstCountRow, column, firstCountRow + bandCount - 1),
         rangeOf(tx::kTotalBands, places.labelColumn, places.topRow, places.labelColumn, places.bottomRow)});
    chart.reverseCategories = true;
    chart.legend = false;
    return chart;
}

// Puts the charts in their places, two to a page (an empty place keeps a page's second half
// free), and prints columns A … J of them on portrait A4 at full size.
void placeCharts(ExcelSheet& sheet, std::vector<std::optional<ChartModel>>& charts, int firstRow,
                 const std::string& title) {
    PageSetup setup;
    setup.paperSize = PageSetup::kPaperA4;
    setup.titleFirstRow = 1;
    setup.titleLastRow = 1;
    setup.centerHorizontally = true;
    setup.centerHeader = pageHeaderText(title);
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
                     const std::string& title) {
    const bool classRates = places.classRates.has_value();
    const bool gradeRates = places.gradeRates.has_value();
    const bool totalBands = places.totalBands.has_value();
    writeTitleRow(sheet, kChartColumns - 1, title);
    int row = 2;
    if (!classRates) lineOfText(sheet, row++, tx::kNoClassRatesNote);
    if (!gradeRates) lineOfText(sheet, row++, tx::kNoGradeRatesNote);
    if (!totalBands) lineOfText(sheet, row++, tx::kNoTotalBandsNote);
    const int firstChartRow = row + 1;

    std::vector<std::optional<ChartModel>> charts;
    int tableRow = 3;
    if (classRates && !places.classRates->blocks.empty()) {
        tableRow = classAverageCharts(sheet, exam, *places.classRates, tableRow, charts) + 2;
        // The schools' charts begin on a page of their own.
        if (charts.size() % kChartsPerPage != 0 && (gradeRates || totalBands)) charts.emplace_back();
    }
    const int firstCountRow = totalBands ? bandCountTable(sheet, exam, *places.totalBands, tableRow) : 0;
    for (int k = 0; k < static_cast<int>(exam.imported().schoolList.size()); ++k) {
        if (gradeRates) charts.emplace_back(schoolRatesChart(exam, *places.gradeRates, k));
        if (totalBands)
            charts.emplace_back(
                schoolBandsChart(exam, *places.totalBands, sheet.GetName(), k, firstCountRow));
    }
    sheet.AutoFitColumns();
    placeCharts(sheet, charts, firstChartRow, title);
}

}  // namespace varnex
