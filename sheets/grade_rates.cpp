// 年级各科三率: the schools of the grade compared subject by subject and on the total, in a stack
// of blocks (counts, rates and, with two or more schools, rank formulas), one row per school.

#include <string>
#include <vector>

#include "analysis/rates.h"
#include "sheets/rate_cells.h"
#include "sheets/rate_sheets.h"
#include "sheets/rate_texts.h"
#include "sheets/sheet_cells.h"

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

// Lay out: one block from row `first`, a row per school: its label, the schools, their student
// counts and the block's figure (or rank formula) of every subject and the total.
void writeBlock(ExcelSheet& sheet, const Block& block, int first, const std::vector<std::string>& schools,
                const std::vector<SchoolRates>& rates, const std::vector<RateGroup>& exam,
                bool blankExcluded) {
    const int schoolCount = static_cast<int>(schools.size());
    writeMergedBlock(sheet, kLabelColumn, first, first + schoolCount - 1, block.label);
    for (int k = 0; k < schoolCount; ++k)
        writeBoxedCell(sheet, kSchoolColumn, first + k, schools[static_cast<size_t>(k)]);
    for (int k = 0; k < schoolCount; ++k)
        writeBoxedNumber(sheet, kSatColumn, first + k, rates[static_cast<size_t>(k)].studentCount);
    const bool rateFormat = block.figure == Figure::ExcellentRate || block.figure == Figure::PassRate ||
                            block.figure == Figure::Average || block.figure == Figure::GoodRate ||
                            block.figure == Figure::LowRate || block.figure == Figure::AboveExam;
    for (int k = 0; k < schoolCount; ++k) {
        const int row = first + k;
        const SchoolRates& school = rates[static_cast<size_t>(k)];
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
            writeBoxedCell(
                sheet, column, row,
                sat == 0    ? std::string()
                : ascending ? ascendingRankFormula(column, row - schoolCount, first - schoolCount, first - 1)
                            : rankFormula(column, row - schoolCount, first - schoolCount, first - 1),
                {.rateFormat = rateFormat, .formula = true});
        }
    }
}

}  // namespace

GradeRatesPlaces writeGradeRates(ExcelSheet& sheet, const Exam& exam, const std::string& title) {
    const std::vector<std::string>& schools = exam.imported().schoolList;
    const int schoolCount = static_cast<int>(schools.size());
    const int totalColumn = kFirstFigureColumn + static_cast<int>(exam.subjects().size());
    const bool blankExcluded = exam.blankScoresExcluded();
    const std::vector<Block> stack = blockStack(schoolCount >= 2, blankExcluded, exam.options());
    writeHead(sheet, exam, title, totalColumn);
    if (schoolCount == 0) return placesOf(stack, schoolCount, totalColumn);

    const std::vector<SchoolRates> rates = gradeRates(exam);
    const std::vector<RateGroup> reference =
        exam.options().moreFigures ? gradeReference(exam) : std::vector<RateGroup>{};
    for (size_t b = 0; b < stack.size(); ++b)
        writeBlock(sheet, stack[b], kFirstDataRow + schoolCount * static_cast<int>(b), schools, rates,
                   reference, blankExcluded);
    return placesOf(stack, schoolCount, totalColumn);
}

}  // namespace varnex
