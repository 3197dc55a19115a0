// 教师个人三率: one row per teacher of each exam subject in each school, aggregating every class
// the teacher teaches there; counts and averages are written as figures, the rates, ranks, block
// averages and deviations as formulas.

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "analysis/three_rates.h"
#include "sheets/rate_cells.h"
#include "sheets/rate_sheets.h"
#include "sheets/rate_texts.h"

namespace varnex {

namespace tx = rate_texts;

namespace {

using namespace rate_columns;

// One sheet row: a teacher of one subject in one school and the TeacherTable rows (classes)
// assigned to them, in table order. A class named by two rows is taken once, from its first row.
struct TeacherEntry {
    std::string name;
    std::vector<int> assignmentRows;
    std::unordered_set<std::string> classes;  ///< the 班级 texts of assignmentRows
};

// Index of the first occurrence of each text.
std::unordered_map<std::string_view, size_t> firstIndexes(const std::vector<std::string>& texts) {
    std::unordered_map<std::string_view, size_t> index;  // views of `texts`
    for (size_t i = 0; i < texts.size(); ++i) index.emplace(texts[i], i);
    return index;
}

// The teachers of each (subject, school), list subject * schoolCount + school, in order of first
// appearance among the TeacherTable rows of the grade. A school listed twice keeps its teachers
// under its first position.
struct TeacherLists {
    size_t schoolCount = 0;
    std::vector<std::vector<TeacherEntry>> lists;
    size_t teacherCount = 0;

    const std::vector<TeacherEntry>& of(size_t subject, size_t school) const {
        return lists[subject * schoolCount + school];
    }
};

// Count: the teacher rows of the sheet.
TeacherLists collectTeachers(const AppState& state) {
    const ImportResults& imported = state.imported;
    const RowTable& teachers = state.teachers;
    const auto subjectIndex = firstIndexes(imported.examSubjects);
    const auto schoolIndex = firstIndexes(imported.schoolList);
    TeacherLists found;
    found.schoolCount = imported.schoolList.size();
    found.lists.resize(imported.examSubjects.size() * found.schoolCount);
    std::unordered_map<std::string, size_t> entryOfKey;
    for (int r = 0; r < teachers.rowCount(); ++r) {
        const RowTable::RowView t = teachers.row(r);
        if (!imported.ofImportedGrade(t[1])) continue;
        auto subject = subjectIndex.find(t[3]);
        auto school = schoolIndex.find(t[0]);
        if (subject == subjectIndex.end() || school == schoolIndex.end()) continue;
        std::vector<TeacherEntry>& list = found.lists[subject->second * found.schoolCount + school->second];
        auto [it, added] = entryOfKey.emplace(groupKey({t[3], t[0], t[4]}), list.size());
        if (added) {
            list.push_back({std::string(t[4]), {}, {}});
            ++found.teacherCount;
        }
        TeacherEntry& entry = list[it->second];
        if (entry.classes.insert(std::string(t[2])).second) entry.assignmentRows.push_back(r);
    }
    return found;
}

// The students of each (school, class) that some teacher row names, from one pass over the
// students. A teacher's figures add them student by student, class after class, so that the
// score sum is the very same double as when the classes are read one after the other.
class AssignedStudents {
  public:
    AssignedStudents(const AppState& state, const TeacherLists& found)
        : groupOfAssignment_(static_cast<size_t>(state.teachers.rowCount()), 0) {
        std::unordered_map<std::string, size_t> groupOfClass;
        for (const auto& list : found.lists) {
            for (const TeacherEntry& entry : list) {
                for (int r : entry.assignmentRows) {
                    const RowTable::RowView t = state.teachers.row(r);
                    auto it = groupOfClass.emplace(groupKey({t[0], t[2]}), groupOfClass.size()).first;
                    groupOfAssignment_[static_cast<size_t>(r)] = it->second;
                }
            }
        }
        studentsOfClass_.resize(groupOfClass.size());
        for (int r = 0; r < state.students.rowCount(); ++r) {
            const RowTable::RowView cells = state.students.row(r);
            auto it = groupOfClass.find(groupKey({cells[0], cells[1]}));
            if (it != groupOfClass.end()) studentsOfClass_[it->second].push_back(r);
        }
    }
    /// The StudentTable rows of the class that TeacherTable row `assignmentRow` names.
    const std::vector<int>& of(int assignmentRow) const {
        return studentsOfClass_[groupOfAssignment_[static_cast<size_t>(assignmentRow)]];
    }

  private:
    std::vector<size_t> groupOfAssignment_;
    std::vector<std::vector<int>> studentsOfClass_;
};

// The rows of each subject's block: a subject or a school without teachers takes no rows and gets
// no cell.
struct BlockRows {
    std::vector<int> first, last;
    int lastDataRow = 0;
};

// Lay out: the blocks one under the other from the first data row.
BlockRows layOutBlocks(const TeacherLists& found, size_t subjectCount) {
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
void writeBlockAndSchoolCells(RateCells& out, const AppState& state, const TeacherLists& found,
                              const BlockRows& blocks) {
    const std::vector<std::string>& subjects = state.imported.examSubjects;
    for (size_t s = 0; s < subjects.size(); ++s) {
        if (blocks.last[s] < blocks.first[s]) continue;
        out.block(kLabel, blocks.first[s], blocks.last[s],
                  subjectBlockLabel(subjects[s], state.scores.fullMarkOf(subjects[s])));
        out.formulaBlock(kBlockAverage, blocks.first[s], blocks.last[s],
                         averageFormula(kAverage, blocks.first[s], blocks.last[s]));
    }
    for (size_t s = 0; s < subjects.size(); ++s) {
        int first = blocks.first[s];
        for (size_t k = 0; k < found.schoolCount; ++k) {
            int rows = static_cast<int>(found.of(s, k).size());
            if (rows == 0) continue;
            out.block(kSchool, first, first + rows - 1, state.imported.schoolList[k]);
            first += rows;
        }
    }
}

// Lay out: one teacher's row in the block first … last: classes, figures and formulas.
void writeTeacherRow(RateCells& out, const AppState& state, const TeacherEntry& teacher,
                     const RateColumn& column, const AssignedStudents& students, int row, int first,
                     int last) {
    out.cell(kTeacher, row, teacher.name);
    std::string classText;
    RateGroup g;
    for (int r : teacher.assignmentRows) {
        classText += state.teachers.cellText(r, 2);
        classText += tx::kClassSuffix;
        for (int student : students.of(r))
            g.add(state.students.cellText(student, column.studentColumn), column.rule);
    }
    // Nobody sat: no rates, average, ranks or deviation rather than division errors (and an empty
    // cell would rank as 0, and could show as first).
    const bool sat = g.satCount > 0;
    auto unlessEmpty = [sat](std::string formula) { return sat ? formula : std::string(); };
    out.cell(kClass, row, classText, {.horizontalAlign = kAlignLeft});
    out.cell(kSat, row, countText(g.satCount));
    out.cell(kExcellentCount, row, countText(g.excellentCount));
    out.cell(kPassCount, row, countText(g.passCount));
    out.cell(kAverage, row, averageText(g.scoreSum, g.satCount), {.rateFormat = true});
    out.cell(kExcellentRate, row, unlessEmpty(rateFormula(kExcellentCount, row, kSat)),
             {.rateFormat = true, .formula = true});
    out.cell(kPassRate, row, unlessEmpty(rateFormula(kPassCount, row, kSat)),
             {.rateFormat = true, .formula = true});
    out.cell(kExcellentRank, row, unlessEmpty(rankFormula(kExcellentRate, row, first, last)),
             {.formula = true});
    out.cell(kPassRank, row, unlessEmpty(rankFormula(kPassRate, row, first, last)), {.formula = true});
    out.cell(kAverageRank, row, unlessEmpty(rankFormula(kAverage, row, first, last)), {.formula = true});
    out.cell(kDeviation, row, unlessEmpty(deviationFormula(kAverage, row, kBlockAverage, first)),
             {.rateFormat = true, .formula = true});
}

}  // namespace

Status writeTeacherRates(ExcelSheet& sheet, const AppState& state, const std::string& title) {
    const std::vector<std::string>& subjects = state.imported.examSubjects;
    RateCells out(sheet);
    writeSixteenColumnHead(out, title, tx::kTeacherHeaders);
    const TeacherLists found = collectTeachers(state);
    if (found.teacherCount == 0) return fail(tx::kNoTeacherRows);
    const AssignedStudents students(state, found);
    const bool zeroExcluded = state.exportOptions.ignoreZeroScores;
    const BlockRows blocks = layOutBlocks(found, subjects.size());

    writeBlockAndSchoolCells(out, state, found, blocks);
    for (int r = kFirstDataRow; r <= blocks.lastDataRow; ++r) out.cell(kHeadTeacher, r, "");
    int row = kFirstDataRow;
    for (size_t s = 0; s < subjects.size(); ++s) {
        const RateColumn column{
            columnOfSubject(subjects[s]),
            subjectRule(state.scores, subjects[s], zeroExcluded, state.exportOptions.blankScoresExcluded)};
        for (size_t k = 0; k < found.schoolCount; ++k) {
            for (const TeacherEntry& teacher : found.of(s, k))
                writeTeacherRow(out, state, teacher, column, students, row++, blocks.first[s],
                                blocks.last[s]);
        }
    }
    return {};
}

}  // namespace varnex
