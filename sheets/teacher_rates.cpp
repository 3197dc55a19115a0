// 教师个人三率: one row per teacher of each exam subject in each school, aggregating every class
// the teacher teaches there; counts and averages are written as figures, the rates, ranks, block
// averages and deviations as formulas.

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

using namespace rate_columns;

// The rows of each subject's block: a subject or a school without teachers takes no rows and gets
// no cell.
struct BlockRows {
    std::vector<int> first, last;
    int lastDataRow = 0;
};

// Lay out: the blocks one under the other from the first data row.
BlockRows layOutBlocks(const TeacherRateTable& found, size_t subjectCount) {
    BlockRows blocks;
    blocks.first.resize(subjectCount);
    blocks.last.resize(subjectCount);
    int row = kFirstDataRow;
    for (size_t s = 0; s < subjectCount; ++s) {
        blocks.first[s] = row;
        for (size_t k = 0; k < found.schoolCount; ++k) row += static_cast<int>(found.of(s, k).size());
        blocks.last[s] = row - 1;
    }
    blocks.lastDataRow = row - 1;
    return blocks;
}

// Lay out: each block's label and 总平均分, then the school cells merged over their teachers' rows.
void writeBlockAndSchoolCells(ExcelSheet& sheet, const Exam& exam, const TeacherRateTable& found,
                              const BlockRows& blocks) {
    const std::vector<ExamSubject>& subjects = exam.subjects();
    for (size_t s = 0; s < subjects.size(); ++s) {
        if (blocks.last[s] < blocks.first[s]) continue;
        writeMergedBlock(sheet, kLabel, blocks.first[s], blocks.last[s],
                         subjectBlockLabel(subjects[s].name, subjects[s].fullMark));
        writeFormulaBlock(sheet, kBlockAverage, blocks.first[s], blocks.last[s],
                          averageFormula(kAverage, blocks.first[s], blocks.last[s]));
    }
    for (size_t s = 0; s < subjects.size(); ++s) {
        int first = blocks.first[s];
        for (size_t k = 0; k < found.schoolCount; ++k) {
            int rows = static_cast<int>(found.of(s, k).size());
            if (rows == 0) continue;
            writeMergedBlock(sheet, kSchool, first, first + rows - 1, exam.imported().schoolList[k]);
            first += rows;
        }
    }
}

// Lay out: one teacher's row in the block first … last: classes, figures and formulas, then the
// appended columns, whose 超均率 is set against `exam`.
void writeTeacherRow(ExcelSheet& sheet, const TeacherRates& teacher, int row, int first, int last,
                     const std::vector<AddedColumn>& added, const RateGroup* exam) {
    writeBoxedCell(sheet, kTeacher, row, teacher.name);
    std::string classText;
    for (const std::string& className : teacher.classes) {
        classText += className;
        classText += tx::kClassSuffix;
    }
    const RateGroup& g = teacher.figures;
    // Nobody sat: no rates, average, ranks or deviation rather than division errors (and an empty
    // cell would rank as 0, and could show as first).
    const bool sat = g.satCount > 0;
    auto unlessEmpty = [sat](std::string formula) { return sat ? formula : std::string(); };
    writeBoxedCell(sheet, kClass, row, classText, {.horizontalAlign = kAlignLeft});
    writeBoxedNumber(sheet, kSat, row, g.satCount);
    writeBoxedNumber(sheet, kExcellentCount, row, g.excellentCount);
    writeBoxedNumber(sheet, kPassCount, row, g.passCount);
    writeBoxedCell(sheet, kAverage, row, averageText(g.scoreSumThousandths, g.satCount),
                   {.rateFormat = true});
    writeBoxedCell(sheet, kExcellentRate, row, unlessEmpty(rateFormula(kExcellentCount, row, kSat)),
                   {.rateFormat = true, .formula = true});
    writeBoxedCell(sheet, kPassRate, row, unlessEmpty(rateFormula(kPassCount, row, kSat)),
                   {.rateFormat = true, .formula = true});
    writeBoxedCell(sheet, kExcellentRank, row, unlessEmpty(rankFormula(kExcellentRate, row, first, last)),
                   {.formula = true});
    writeBoxedCell(sheet, kPassRank, row, unlessEmpty(rankFormula(kPassRate, row, first, last)),
                   {.formula = true});
    writeBoxedCell(sheet, kAverageRank, row, unlessEmpty(rankFormula(kAverage, row, first, last)),
                   {.formula = true});
    writeBoxedCell(sheet, kDeviation, row, unlessEmpty(deviationFormula(kAverage, row, kBlockAverage, first)),
                   {.rateFormat = true, .formula = true});
    if (!added.empty()) writeAddedFigures(sheet, added, {&g, nullptr, exam, row, first, last, true});
}

}  // namespace

Status writeTeacherRates(ExcelSheet& sheet, const Exam& exam, const std::string& title) {
    const size_t subjectCount = exam.subjects().size();
    writeSixteenColumnHead(sheet, title, tx::kTeacherHeaders);
    const TeacherRateTable found = teacherRates(exam);
    if (found.teacherCount == 0) return fail(tx::kNoTeacherRows);
    const BlockRows blocks = layOutBlocks(found, subjectCount);

    writeBlockAndSchoolCells(sheet, exam, found, blocks);
    for (int r = kFirstDataRow; r <= blocks.lastDataRow; ++r) writeBoxedCell(sheet, kHeadTeacher, r, "");
    const std::vector<AddedColumn> added = addedRateColumns(exam.options(), false);
    writeAddedHeaders(sheet, added);
    const ClassReference reference = exam.options().moreFigures ? classReference(exam) : ClassReference{};
    int row = kFirstDataRow;
    for (size_t s = 0; s < subjectCount; ++s) {
        const RateGroup* examFigures = reference.exam.empty() ? nullptr : &reference.exam[s];
        for (size_t k = 0; k < found.schoolCount; ++k) {
            for (const TeacherRates& teacher : found.of(s, k))
                writeTeacherRow(sheet, teacher, row++, blocks.first[s], blocks.last[s], added, examFigures);
        }
    }
    return {};
}

}  // namespace varnex
