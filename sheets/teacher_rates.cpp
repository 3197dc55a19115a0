// 教师个人三率: one row per teacher of each exam subject in each school, aggregating every class
// the teacher teaches there; counts and averages are written as figures, the rates, ranks, block
// averages and deviations as formulas.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
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

// The number a figure cell holds (none for an empty one), as the sheet's formulas read it.
std::optional<double> cellNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end != text.c_str() ? std::optional<double>(value) : std::nullopt;
}

// A rate as its formula "=(G/D)*100" works it out; none when nobody sat.
std::optional<double> rateValue(int count, int sat) {
    return sat > 0 ? std::optional<double>(static_cast<double>(count) / static_cast<double>(sat) * 100)
                   : std::nullopt;
}

// True when the teacher's row is shown: a teacher of the scope's school and, for one class, of it.
bool showsTeacher(const SheetScope& scope, const std::string& school, const TeacherRates& teacher) {
    if (!scope.showsSchool(school)) return false;
    if (scope.kind() != SheetScope::Kind::Class) return true;
    return std::find(teacher.classes.begin(), teacher.classes.end(), scope.klass()) != teacher.classes.end();
}

// Without every teacher on the sheet: the scope's teachers only, with what the formulas of the
// whole sheet work out over all the teachers of each subject (`ranks`), as numbers.
Status writeShownTeachers(ExcelSheet& sheet, const Exam& exam, const TeacherRateTable& found,
                          const TeacherRateRanks& ranks, const ClassReference* reference,
                          const SheetScope& scope) {
    const std::vector<ExamSubject>& subjects = exam.subjects();
    const std::vector<AddedColumn> added = addedRateColumns(exam.options(), false);
    writeAddedHeaders(sheet, added);
    const std::vector<std::string>& schools = exam.imported().schoolList;
    int row = kFirstDataRow;
    for (size_t s = 0; s < subjects.size(); ++s) {
        std::vector<const TeacherRates*> all;
        std::vector<std::pair<size_t, size_t>> shown;  // SchoolList entry, position in `all`
        for (size_t k = 0; k < found.schoolCount; ++k) {
            for (const TeacherRates& teacher : found.of(s, k)) {
                if (showsTeacher(scope, schools[k], teacher)) shown.emplace_back(k, all.size());
                all.push_back(&teacher);
            }
        }
        if (shown.empty()) continue;
        const std::array<RankedFigures, 3>& block = ranks.subjects[s];
        const std::optional<double> blockAverage = block[2].mean;
        const int first = row, last = row + static_cast<int>(shown.size()) - 1;
        writeMergedBlock(sheet, kLabel, first, last,
                         subjectBlockLabel(subjects[s].name, subjects[s].fullMark));
        writeNumberBlock(sheet, kBlockAverage, first, last, blockAverage);
        writeMergedBlock(sheet, kSchool, first, last, schools[shown.front().first]);
        for (const auto& [school, at] : shown) {
            const TeacherRates& teacher = *all[at];
            const RateGroup& g = teacher.figures;
            const bool sat = g.satCount > 0;
            auto place = [sat, at](const RankedFigures& figures) {
                return sat ? std::optional<long long>(figures.places[at]) : std::nullopt;
            };
            std::string classText;
            for (const std::string& className : teacher.classes) {
                classText += className;
                classText += tx::kClassSuffix;
            }
            writeBoxedCell(sheet, kHeadTeacher, row, "");
            writeBoxedCell(sheet, kTeacher, row, teacher.name);
            writeBoxedCell(sheet, kClass, row, classText, {.horizontalAlign = kAlignLeft});
            writeBoxedNumber(sheet, kSat, row, g.satCount);
            writeBoxedNumber(sheet, kExcellentCount, row, g.excellentCount);
            writeBoxedNumber(sheet, kPassCount, row, g.passCount);
            writeBoxedCell(sheet, kAverage, row, averageText(g.scoreSumThousandths, g.satCount),
                           {.rateFormat = true});
            writeBoxedRate(sheet, kExcellentRate, row, block[0].values[at]);
            writeBoxedRate(sheet, kPassRate, row, block[1].values[at]);
            writeBoxedNumber(sheet, kExcellentRank, row, place(block[0]));
            writeBoxedNumber(sheet, kPassRank, row, place(block[1]));
            writeBoxedNumber(sheet, kAverageRank, row, place(block[2]));
            std::optional<double> deviation;
            if (sat && block[2].values[at] && blockAverage) deviation = *block[2].values[at] - *blockAverage;
            writeBoxedRate(sheet, kDeviation, row, deviation);
            if (!added.empty()) {
                AddedNumbers numbers;
                if (s < ranks.added.size()) {
                    const std::array<RankedFigures, 2>& rated = ranks.added[s];
                    numbers = {rated[0].places[at], rated[1].places[at], rated[0].values[at],
                               rated[1].values[at]};
                }
                const RateGroup* examFigures =
                    reference != nullptr && s < reference->exam.size() ? &reference->exam[s] : nullptr;
                writeAddedFigures(sheet, added, {&g, nullptr, examFigures, row, first, last, true, &numbers});
            }
            ++row;
        }
    }
    return {};
}

}  // namespace

Status writeTeacherRates(ExcelSheet& sheet, const Exam& exam, const std::string& title) {
    return writeScopedTeacherRates(sheet, exam, teacherRates(exam), title, SheetScope());
}

TeacherRateRanks teacherRateRanks(const Exam& exam, const TeacherRateTable& found) {
    TeacherRateRanks ranks;
    for (size_t s = 0; s < exam.subjects().size() && s * found.schoolCount < found.lists.size(); ++s) {
        std::vector<std::optional<double>> excellent, pass, average, good, low;
        for (size_t k = 0; k < found.schoolCount; ++k) {
            for (const TeacherRates& teacher : found.of(s, k)) {
                const RateGroup& g = teacher.figures;
                excellent.push_back(rateValue(g.excellentCount, g.satCount));
                pass.push_back(rateValue(g.passCount, g.satCount));
                average.push_back(cellNumber(averageText(g.scoreSumThousandths, g.satCount)));
                good.push_back(rateValue(g.goodCount, g.satCount));
                low.push_back(rateValue(g.lowCount, g.satCount));
            }
        }
        ranks.subjects.push_back({rankedFigures(std::move(excellent)), rankedFigures(std::move(pass)),
                                  rankedFigures(std::move(average))});
        if (exam.options().fourRates)
            ranks.added.push_back({rankedFigures(std::move(good)), rankedFigures(std::move(low), true)});
    }
    return ranks;
}

Status writeScopedTeacherRates(ExcelSheet& sheet, const Exam& exam, const TeacherRateTable& found,
                               const std::string& title, const SheetScope& scope,
                               const TeacherRateRanks* ranks, const ClassReference* reference) {
    const size_t subjectCount = exam.subjects().size();
    writeSixteenColumnHead(sheet, title, tx::kTeacherHeaders);
    if (found.teacherCount == 0) return fail(tx::kNoTeacherRows);
    std::optional<ClassReference> computedReference;
    if (reference == nullptr && exam.options().moreFigures)
        reference = &computedReference.emplace(classReference(exam));
    if (!scope.wholeExam())
        return writeShownTeachers(
            sheet, exam, found, ranks != nullptr ? *ranks : teacherRateRanks(exam, found), reference, scope);
    const BlockRows blocks = layOutBlocks(found, subjectCount);

    writeBlockAndSchoolCells(sheet, exam, found, blocks);
    for (int r = kFirstDataRow; r <= blocks.lastDataRow; ++r) writeBoxedCell(sheet, kHeadTeacher, r, "");
    const std::vector<AddedColumn> added = addedRateColumns(exam.options(), false);
    writeAddedHeaders(sheet, added);
    int row = kFirstDataRow;
    for (size_t s = 0; s < subjectCount; ++s) {
        const RateGroup* examFigures =
            reference != nullptr && s < reference->exam.size() ? &reference->exam[s] : nullptr;
        for (size_t k = 0; k < found.schoolCount; ++k) {
            for (const TeacherRates& teacher : found.of(s, k))
                writeTeacherRow(sheet, teacher, row++, blocks.first[s], blocks.last[s], added, examFigures);
        }
    }
    return {};
}

}  // namespace varnex
