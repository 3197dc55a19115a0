// 教师个人三率: one row per teacher of each exam subject in each school, aggregating every class
// the teacher teaches there; counts and averages are written as figures, the rates, ranks, block
// averages and deviations as formulas.

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "reports/rate_cells.h"
#include "reports/rate_sheets.h"
#include "reports/rate_texts.h"
#include "reports/three_rates.h"

namespace varnex {

namespace tx = rate_texts;

namespace {

using namespace rate_columns;

// One sheet row: a teacher of one subject in one school and the TeacherTable rows (classes)
// assigned to them, in table order.
struct TeacherEntry {
    std::string name;
    std::vector<int> assignmentRows;
};

// Index of the first occurrence of each text.
std::unordered_map<std::string, size_t> firstIndexes(const std::vector<std::string>& texts) {
    std::unordered_map<std::string, size_t> index;
    for (size_t i = 0; i < texts.size(); ++i) index.emplace(texts[i], i);
    return index;
}

}  // namespace

bool writeTeacherRates(ExcelSheet& sheet, const AppState& state, const std::string& title) {
    const ImportResults& imported = state.imported;
    const std::vector<std::string>& subjects = imported.examSubjects;
    const std::vector<std::string>& schools = imported.schoolList;
    const size_t schoolCount = schools.size();
    const RowTable& teachers = state.teachers;

    RateCells out(sheet);
    writeSixteenColumnHead(out, title, tx::kTeacherHeaders);

    // Teachers per (subject, school) in order of first appearance among the rows of the grade.
    // A school listed twice keeps its teachers under its first position.
    const auto subjectIndex = firstIndexes(subjects);
    const auto schoolIndex = firstIndexes(schools);
    std::vector<std::vector<TeacherEntry>> teachersOf(subjects.size() * schoolCount);
    std::unordered_map<std::string, size_t> entryOfKey;
    size_t teacherRowCount = 0;
    for (int r = 0; r < teachers.rowCount(); ++r) {
        const std::vector<std::string>& t = teachers.row(r);
        if (t[1] != imported.gradeName) continue;
        auto subject = subjectIndex.find(t[3]);
        auto school = schoolIndex.find(t[0]);
        if (subject == subjectIndex.end() || school == schoolIndex.end()) continue;
        std::vector<TeacherEntry>& list = teachersOf[subject->second * schoolCount + school->second];
        auto [it, added] = entryOfKey.emplace(groupKey({t[3], t[0], t[4]}), list.size());
        if (added) {
            list.push_back({t[4], {}});
            ++teacherRowCount;
        }
        list[it->second].assignmentRows.push_back(r);
    }
    if (teacherRowCount == 0) return false;

    // The students of each (school, class) that some teacher row names, from one pass over the
    // students. A teacher's figures add them student by student, class after class, so that the
    // score sum is the very same double as when the classes are read one after the other.
    std::unordered_map<std::string, size_t> groupOfClass;
    std::vector<size_t> groupOfAssignment(static_cast<size_t>(teachers.rowCount()), 0);
    for (const auto& list : teachersOf) {
        for (const TeacherEntry& entry : list) {
            for (int r : entry.assignmentRows) {
                const std::vector<std::string>& t = teachers.row(r);
                auto it = groupOfClass.emplace(groupKey({t[0], t[2]}), groupOfClass.size()).first;
                groupOfAssignment[static_cast<size_t>(r)] = it->second;
            }
        }
    }
    const bool zeroExcluded = state.exportOptions.ignoreZeroScores;
    std::vector<RateColumn> columns;
    for (const std::string& subject : subjects)
        columns.push_back({columnOfSubject(subject), subjectRule(state.scores, subject, zeroExcluded)});
    std::vector<std::vector<int>> studentsOfClass(groupOfClass.size());
    for (int r = 0; r < state.students.rowCount(); ++r) {
        const std::vector<std::string>& cells = state.students.row(r);
        auto it = groupOfClass.find(groupKey({cells[0], cells[1]}));
        if (it != groupOfClass.end()) studentsOfClass[it->second].push_back(r);
    }

    // Block rows: a subject or a school without teachers takes no rows and gets no cell.
    std::vector<int> blockFirst(subjects.size()), blockLast(subjects.size());
    int row = kFirstDataRow;
    for (size_t s = 0; s < subjects.size(); ++s) {
        blockFirst[s] = row;
        for (size_t k = 0; k < schoolCount; ++k)
            row += static_cast<int>(teachersOf[s * schoolCount + k].size());
        blockLast[s] = row - 1;
    }
    const int lastDataRow = row - 1;

    for (size_t s = 0; s < subjects.size(); ++s) {
        if (blockLast[s] < blockFirst[s]) continue;
        out.block(kLabel, blockFirst[s], blockLast[s],
                  strprintf("%s\n%s%d%s", subjects[s].c_str(), rate_texts::kFullMarkOpen,
                            state.scores.fullMarkOf(subjects[s]), rate_texts::kFullMarkClose));
        out.formulaBlock(kBlockAverage, blockFirst[s], blockLast[s],
                         averageFormula(kAverage, blockFirst[s], blockLast[s]));
    }

    for (size_t s = 0; s < subjects.size(); ++s) {
        int first = blockFirst[s];
        for (size_t k = 0; k < schoolCount; ++k) {
            int rows = static_cast<int>(teachersOf[s * schoolCount + k].size());
            if (rows == 0) continue;
            out.block(kSchool, first, first + rows - 1, schools[k]);
            first += rows;
        }
    }

    for (int r = kFirstDataRow; r <= lastDataRow; ++r) out.cell(kHeadTeacher, r, "");

    row = kFirstDataRow;
    for (size_t s = 0; s < subjects.size(); ++s) {
        const int first = blockFirst[s], last = blockLast[s];
        for (size_t k = 0; k < schoolCount; ++k) {
            for (const TeacherEntry& teacher : teachersOf[s * schoolCount + k]) {
                out.cell(kTeacher, row, teacher.name);
                std::string classText;
                RateGroup g;
                for (int r : teacher.assignmentRows) {
                    classText += teachers.cellText(r, 2);
                    classText += tx::kClassSuffix;
                    for (int student : studentsOfClass[groupOfAssignment[static_cast<size_t>(r)]])
                        g.add(state.students.cellText(student, columns[s].studentColumn), columns[s].rule);
                }
                // Nobody sat: no rates, average or deviation rather than division errors.
                const bool sat = g.satCount > 0;
                out.cell(kClass, row, classText, {.horizontalAlign = kAlignLeft});
                out.cell(kSat, row, countText(g.satCount));
                out.cell(kExcellentCount, row, countText(g.excellentCount));
                out.cell(kPassCount, row, countText(g.passCount));
                out.cell(kAverage, row, averageText(g.scoreSum, g.satCount), {.rateFormat = true});
                out.cell(kExcellentRate, row, sat ? rateFormula(kExcellentCount, row, kSat) : std::string(),
                         {.rateFormat = true, .formula = true});
                out.cell(kPassRate, row, sat ? rateFormula(kPassCount, row, kSat) : std::string(),
                         {.rateFormat = true, .formula = true});
                out.cell(kExcellentRank, row, rankFormula(kExcellentRate, row, first, last),
                         {.formula = true});
                out.cell(kPassRank, row, rankFormula(kPassRate, row, first, last), {.formula = true});
                out.cell(kAverageRank, row, rankFormula(kAverage, row, first, last), {.formula = true});
                out.cell(kDeviation, row,
                         sat ? deviationFormula(kAverage, row, kBlockAverage, first) : std::string(),
                         {.rateFormat = true, .formula = true});
                ++row;
            }
        }
    }
    return true;
}

}  // namespace varnex
