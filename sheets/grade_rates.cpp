// 年级各科三率: the schools of the grade compared subject by subject and on the total, in a stack
// of blocks (counts, rates and, with two or more schools, rank formulas), one row per school.

#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/rates.h"
#include "sheets/rate_cells.h"
#include "sheets/rate_sheets.h"
#include "sheets/rate_texts.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = rate_texts;

namespace {

constexpr int kLabelColumn = 0;        // A
constexpr int kSchoolColumn = 1;       // B
constexpr int kSatColumn = 2;          // C
constexpr int kFirstFigureColumn = 3;  // D
constexpr int kHeaderRow = 3;
constexpr int kFirstDataRow = 4;

enum class Figure {
    SatCount,
    ExcellentCount,
    ExcellentRate,
    PassCount,
    PassRate,
    Average,
    Rank,
    GoodCount,
    GoodRate,
    LowCount,
    LowRate,
    AscendingRank,  ///< the lowest figure first (低分率)
    AboveExam,      ///< 超均率 against the whole exam
    Spread,
    Highest,
    Lowest,
};

struct Block {
    const char* label;
    Figure figure;
};

// With blank scores left out, each subject has its own 实考人数, shown in a block of its own first.
// 四率's and 扩展指标's blocks, when chosen, follow the three rates'.
std::vector<Block> blockStack(bool withRanks, bool withSatCounts, const ExportOptions& options) {
    std::vector<Block> stack;
    if (withSatCounts) stack.push_back({tx::kSatCount, Figure::SatCount});
    stack.push_back({tx::kExcellentCount, Figure::ExcellentCount});
    stack.push_back({tx::kExcellentRate, Figure::ExcellentRate});
    if (withRanks) stack.push_back({tx::kExcellentRank, Figure::Rank});
    stack.push_back({tx::kPassCount, Figure::PassCount});
    stack.push_back({tx::kPassRate, Figure::PassRate});
    if (withRanks) stack.push_back({tx::kPassRank, Figure::Rank});
    stack.push_back({tx::kAverage, Figure::Average});
    if (withRanks) stack.push_back({tx::kAverageRank, Figure::Rank});
    if (options.fourRates) {
        stack.push_back({tx::kGoodCount, Figure::GoodCount});
        stack.push_back({tx::kGoodRate, Figure::GoodRate});
        if (withRanks) stack.push_back({tx::kGoodRank, Figure::Rank});
        stack.push_back({tx::kLowCount, Figure::LowCount});
        stack.push_back({tx::kLowRate, Figure::LowRate});
        if (withRanks) stack.push_back({tx::kLowRank, Figure::AscendingRank});
    }
    if (options.moreFigures) {
        stack.push_back({tx::kSchoolAboveExam, Figure::AboveExam});
        stack.push_back({tx::kStandardDeviation, Figure::Spread});
        stack.push_back({tx::kHighest, Figure::Highest});
        stack.push_back({tx::kLowest, Figure::Lowest});
    }
    return stack;
}

// The whole-grade rule: every student of the school has sat, whatever the subject; with blank
// scores left out, those who sat the subject (`satCount` of the figures).
std::string figureText(Figure figure, const RateGroup& g, const RateGroup* exam, int schoolStudents,
                       bool blankExcluded) {
    const int studentCount = blankExcluded ? g.satCount : schoolStudents;
    switch (figure) {
        case Figure::SatCount:
            return countText(g.satCount);
        case Figure::ExcellentCount:
            return countText(g.excellentCount);
        case Figure::ExcellentRate:
            return rateText(g.excellentCount, studentCount);
        case Figure::PassCount:
            return countText(g.passCount);
        case Figure::PassRate:
            return rateText(g.passCount, studentCount);
        case Figure::Average:
            return averageText(g.scoreSumThousandths, studentCount);
        case Figure::GoodCount:
            return countText(g.goodCount);
        case Figure::GoodRate:
            return rateText(g.goodCount, studentCount);
        case Figure::LowCount:
            return countText(g.lowCount);
        case Figure::LowRate:
            return rateText(g.lowCount, studentCount);
        case Figure::AboveExam:
            return exam != nullptr ? aboveAverageText(aboveAverageRate(g, *exam)) : std::string();
        case Figure::Spread:
            return spreadText(standardDeviation(g));
        case Figure::Highest:
            return g.satCount > 0 ? scoreFigureText(g.highest) : std::string();
        case Figure::Lowest:
            return g.satCount > 0 ? scoreFigureText(g.lowest) : std::string();
        case Figure::Rank:
        case Figure::AscendingRank:
            break;
    }
    return std::string();
}

// The rows of the excellence and pass rates of every school.
GradeRatesPlaces placesOf(const std::vector<Block>& stack, int schoolCount, int totalColumn) {
    GradeRatesPlaces places{kHeaderRow, kFirstFigureColumn, totalColumn, {}, {}};
    for (size_t b = 0; b < stack.size(); ++b) {
        const int first = kFirstDataRow + schoolCount * static_cast<int>(b);
        for (int k = 0; k < schoolCount; ++k) {
            if (stack[b].figure == Figure::ExcellentRate) places.excellentRateRows.push_back(first + k);
            if (stack[b].figure == Figure::PassRate) places.passRateRows.push_back(first + k);
            if (stack[b].figure == Figure::LowRate) places.lowRateRows.push_back(first + k);
        }
    }
    return places;
}

// Lay out: the title, the empty second row and the headers of row 3.
void writeHead(ExcelSheet& sheet, const Exam& exam, const std::string& title, int totalColumn) {
    const std::vector<ExamSubject>& subjects = exam.subjects();
    writeMergedRow(sheet, totalColumn, 1, title);
    writeMergedRow(sheet, totalColumn, 2, "");
    writeBoxedCell(sheet, kLabelColumn, kHeaderRow, tx::kGradeHeaders[0], {.columnWidth = 11});
    writeBoxedCell(sheet, kSchoolColumn, kHeaderRow, tx::kGradeHeaders[1]);
    writeBoxedCell(sheet, kSatColumn, kHeaderRow, tx::kGradeHeaders[2]);
    for (size_t i = 0; i < subjects.size(); ++i) {
        writeBoxedCell(sheet, kFirstFigureColumn + static_cast<int>(i), kHeaderRow,
                       strprintf(tx::kHeaderWithMarkFormat, subjects[i].name.c_str(), subjects[i].fullMark));
    }
    writeBoxedCell(sheet, totalColumn, kHeaderRow,
                   strprintf(tx::kHeaderWithMarkFormat, kTotalName, exam.imported().examFullMarkTotal));
}

// One row of a block: the school it names and its figures; `entry` is its SchoolList entry, none
// for the whole exam's row of a part's own workbook.
struct SchoolRow {
    std::string name;
    const SchoolRates* rates;
    std::optional<size_t> entry;
};

// The number a figure cell holds (none for an empty one), as a RANK formula reads it.
std::optional<double> cellNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end != text.c_str() ? std::optional<double>(value) : std::nullopt;
}

// Lay out: one block from row `first`, a row per school: its label, the schools, their student
// counts and the block's figure (or rank) of every subject and the total. A rank is the formula
// over the block above, or, without every school on the sheet, the school's place among all of
// them as a number (`ranked`: the block above). 超均率 is set against `exam`.
void writeBlock(ExcelSheet& sheet, const Block& block, const Block* ranked, int first,
                const std::vector<SchoolRow>& rows, const std::vector<SchoolRates>& rates,
                const std::vector<RateGroup>& exam, bool blankExcluded, bool rankFormulas) {
    const int rowCount = static_cast<int>(rows.size());
    writeMergedBlock(sheet, kLabelColumn, first, first + rowCount - 1, block.label);
    for (int k = 0; k < rowCount; ++k)
        writeBoxedCell(sheet, kSchoolColumn, first + k, rows[static_cast<size_t>(k)].name);
    for (int k = 0; k < rowCount; ++k)
        writeBoxedNumber(sheet, kSatColumn, first + k, rows[static_cast<size_t>(k)].rates->studentCount);
    const bool rateFormat = block.figure == Figure::ExcellentRate || block.figure == Figure::PassRate ||
                            block.figure == Figure::Average || block.figure == Figure::GoodRate ||
                            block.figure == Figure::LowRate || block.figure == Figure::AboveExam;
    for (int k = 0; k < rowCount; ++k) {
        const int row = first + k;
        const SchoolRates& school = *rows[static_cast<size_t>(k)].rates;
        for (size_t c = 0; c < school.figures.size(); ++c) {
            const int column = kFirstFigureColumn + static_cast<int>(c);
            const RateGroup& figures = school.figures[c];
            if (block.figure != Figure::Rank && block.figure != Figure::AscendingRank) {
                writeBoxedCell(sheet, column, row,
                               figureText(block.figure, figures, c < exam.size() ? &exam[c] : nullptr,
                                          school.studentCount, blankExcluded),
                               {.rateFormat = rateFormat});
                continue;
            }
            // A school without students (in the subject, with blank scores left out) has no rate or
            // average to rank: an empty cell would rank as 0, and could show as first.
            const int sat = blankExcluded ? figures.satCount : school.studentCount;
            const bool ascending = block.figure == Figure::AscendingRank;
            if (rankFormulas) {
                writeBoxedCell(sheet, column, row,
                               sat == 0 ? std::string()
                               : ascending
                                   ? ascendingRankFormula(column, row - rowCount, first - rowCount, first - 1)
                                   : rankFormula(column, row - rowCount, first - rowCount, first - 1),
                               {.rateFormat = rateFormat, .formula = true});
                continue;
            }
            const std::optional<size_t> entry = rows[static_cast<size_t>(k)].entry;
            if (sat == 0 || !entry) {
                writeBoxedCell(sheet, column, row, std::string(), {.rateFormat = rateFormat});
                continue;
            }
            std::vector<std::optional<double>> values;
            for (const SchoolRates& other : rates)
                values.push_back(cellNumber(figureText(ranked->figure, other.figures[c],
                                                       c < exam.size() ? &exam[c] : nullptr,
                                                       other.studentCount, blankExcluded)));
            writeBoxedNumber(sheet, column, row, placeAmong(values, *entry, ascending));
        }
    }
}

// The whole exam's figures: every school's once (a school listed twice is one school).
SchoolRates wholeExamRates(const std::vector<std::string>& schools, const std::vector<SchoolRates>& rates) {
    SchoolRates whole;
    whole.figures.resize(rates.empty() ? 0 : rates.front().figures.size());
    std::set<std::string_view> counted;
    for (size_t k = 0; k < schools.size(); ++k) {
        if (!counted.insert(schools[k]).second) continue;
        whole.studentCount += rates[k].studentCount;
        for (size_t c = 0; c < whole.figures.size(); ++c) whole.figures[c] += rates[k].figures[c];
    }
    return whole;
}

}  // namespace

GradeRatesPlaces writeGradeRates(ExcelSheet& sheet, const Exam& exam, const std::string& title) {
    return writeScopedGradeRates(sheet, exam, gradeRates(exam), title, SheetScope());
}

GradeRatesPlaces writeScopedGradeRates(ExcelSheet& sheet, const Exam& exam,
                                       const std::vector<SchoolRates>& rates, const std::string& title,
                                       const SheetScope& scope, const std::vector<RateGroup>* reference) {
    const std::vector<std::string>& schools = exam.imported().schoolList;
    const int schoolCount = static_cast<int>(schools.size());
    const int totalColumn = kFirstFigureColumn + static_cast<int>(exam.subjects().size());
    const bool blankExcluded = exam.blankScoresExcluded();
    const std::vector<Block> stack = blockStack(schoolCount >= 2, blankExcluded, exam.options());
    writeHead(sheet, exam, title, totalColumn);
    if (schoolCount == 0) return placesOf(stack, schoolCount, totalColumn);

    std::vector<RateGroup> computed;
    if (reference == nullptr && exam.options().moreFigures) computed = gradeReference(exam);
    const std::vector<RateGroup>& examFigures = reference != nullptr ? *reference : computed;
    // A part's own workbook: its school and the whole exam for comparison.
    std::vector<SchoolRow> rows;
    for (size_t k : scope.shownSchools(schools)) rows.push_back({schools[k], &rates[k], k});
    const SchoolRates whole = scope.wholeExam() ? SchoolRates() : wholeExamRates(schools, rates);
    if (!scope.wholeExam()) rows.push_back({sheet_texts::kWholeExam, &whole, std::nullopt});
    const int rowCount = static_cast<int>(rows.size());
    for (size_t b = 0; b < stack.size(); ++b)
        writeBlock(sheet, stack[b], b > 0 ? &stack[b - 1] : nullptr,
                   kFirstDataRow + rowCount * static_cast<int>(b), rows, rates, examFigures, blankExcluded,
                   scope.wholeExam());
    return placesOf(stack, rowCount, totalColumn);
}

}  // namespace varnex
