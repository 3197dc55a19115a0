// 年级各科三率: the schools of the grade compared subject by subject and on the total, in a stack
// of blocks (counts, rates and, with two or more schools, rank formulas), one row per school.

#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/three_rates.h"
#include "sheets/rate_cells.h"
#include "sheets/rate_sheets.h"
#include "sheets/rate_texts.h"

namespace varnex {

namespace tx = rate_texts;

namespace {

constexpr int kLabelColumn = 0;                                   // A
constexpr int kSchoolColumn = 1;                                  // B
constexpr int kSatColumn = 2;                                     // C
constexpr int kFirstFigureColumn = kGradeRatesFirstFigureColumn;  // D
constexpr int kFirstDataRow = 4;

enum class Figure { SatCount, ExcellentCount, ExcellentRate, PassCount, PassRate, Average, Rank };

struct Block {
    const char* label;
    Figure figure;
};

// With blank scores left out, each subject has its own 实考人数, shown in a block of its own first.
std::vector<Block> blockStack(bool withRanks, bool withSatCounts) {
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
    return stack;
}

// The whole-grade rule: every student of the school has sat, whatever the subject; with blank
// scores left out, those who sat the subject (`satCount` of the figures).
std::string figureText(Figure figure, const RateGroup& g, int schoolStudents, bool blankExcluded) {
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
            return averageText(g.scoreSum, studentCount);
        case Figure::Rank:
            break;
    }
    return std::string();
}

}  // namespace

int gradeRatesRow(int schoolCount, GradeRateBlock block, int school, bool blankExcluded) {
    const Figure figure = block == GradeRateBlock::ExcellentRate ? Figure::ExcellentRate : Figure::PassRate;
    const std::vector<Block> stack = blockStack(schoolCount >= 2, blankExcluded);
    int position = 0;
    while (stack[static_cast<size_t>(position)].figure != figure) ++position;
    return kFirstDataRow + schoolCount * position + school;
}

void writeGradeRates(ExcelSheet& sheet, const AppState& state, const std::string& title) {
    const ImportResults& imported = state.imported;
    const std::vector<std::string>& subjects = imported.examSubjects;
    const std::vector<std::string>& schools = imported.schoolList;
    const int n = static_cast<int>(subjects.size());
    const int schoolCount = static_cast<int>(schools.size());
    const int totalColumn = kFirstFigureColumn + n;

    RateCells out(sheet);
    out.band(totalColumn, 1, title);
    out.band(totalColumn, 2, "");

    out.cell(kLabelColumn, 3, tx::kGradeHeaders[0], {.columnWidth = 11});
    out.cell(kSchoolColumn, 3, tx::kGradeHeaders[1]);
    out.cell(kSatColumn, 3, tx::kGradeHeaders[2]);
    for (int i = 0; i < n; ++i) {
        const std::string& subject = subjects[static_cast<size_t>(i)];
        out.cell(kFirstFigureColumn + i, 3,
                 strprintf(tx::kHeaderWithMarkFormat, subject.c_str(), state.scores.fullMarkOf(subject)));
    }
    out.cell(totalColumn, 3, strprintf(tx::kHeaderWithMarkFormat, kTotalName, imported.examFullMarkTotal));
    if (schoolCount == 0) return;

    // One group per distinct school name; a name listed twice shows the same figures twice.
    std::unordered_map<std::string_view, size_t> groupOfSchool;  // views of `schools`
    std::vector<size_t> groupOfRow;
    for (const std::string& school : schools) {
        auto it = groupOfSchool.emplace(school, groupOfSchool.size()).first;
        groupOfRow.push_back(it->second);
    }
    const bool blankExcluded = state.exportOptions.blankScoresExcluded;
    std::vector<RateColumn> columns;
    for (const std::string& subject : subjects)
        columns.push_back(
            {columnOfSubject(subject), subjectRule(state.scores, subject, false, blankExcluded)});
    columns.push_back({kTotalColumn, gradeTotalRule(state.scores, imported.examFullMarkTotal),
                       blankExcluded ? totalShares(state.scores, subjects) : std::vector<TotalShare>{}});
    RateTally tally(groupOfSchool.size(), std::move(columns));
    std::vector<int> studentCount(groupOfSchool.size(), 0);  // schoolStudentCount
    for (int r = 0; r < state.students.rowCount(); ++r) {
        const RowTable::RowView cells = state.students.row(r);
        auto it = groupOfSchool.find(cells[0]);
        if (it == groupOfSchool.end()) continue;
        ++studentCount[it->second];
        tally.addStudent(it->second, cells);
    }

    const std::vector<Block> stack = blockStack(schoolCount >= 2, blankExcluded);
    for (size_t b = 0; b < stack.size(); ++b) {
        const Block& block = stack[b];
        const int first = kFirstDataRow + schoolCount * static_cast<int>(b);
        const int last = first + schoolCount - 1;
        out.block(kLabelColumn, first, last, block.label);
        for (int k = 0; k < schoolCount; ++k)
            out.cell(kSchoolColumn, first + k, schools[static_cast<size_t>(k)]);
        for (int k = 0; k < schoolCount; ++k)
            out.cell(kSatColumn, first + k, countText(studentCount[groupOfRow[static_cast<size_t>(k)]]));
        const bool rateFormat = block.figure == Figure::ExcellentRate || block.figure == Figure::PassRate ||
                                block.figure == Figure::Average;
        for (int k = 0; k < schoolCount; ++k) {
            const int row = first + k;
            const size_t group = groupOfRow[static_cast<size_t>(k)];
            for (int c = 0; c <= n; ++c) {
                const int column = kFirstFigureColumn + c;
                if (block.figure == Figure::Rank) {
                    // A school without students (in the subject, with blank scores left out) has
                    // no rate or average to rank: an empty cell would rank as 0, and could show as
                    // first.
                    const int sat = blankExcluded ? tally.at(group, static_cast<size_t>(c)).satCount
                                                  : studentCount[group];
                    out.cell(column, row,
                             sat > 0 ? rankFormula(column, row - schoolCount, first - schoolCount, first - 1)
                                     : std::string(),
                             {.rateFormat = rateFormat, .formula = true});
                } else {
                    out.cell(column, row,
                             figureText(block.figure, tally.at(group, static_cast<size_t>(c)),
                                        studentCount[group], blankExcluded),
                             {.rateFormat = rateFormat});
                }
            }
        }
    }
}

}  // namespace varnex
