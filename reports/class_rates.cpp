// 班级各科三率: every class of the grade, one block per exam subject and one for the total, with
// the subject teacher, counts, rates, averages and the rank, block-average and deviation formulas.

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

// True when the ClassList holds the classes of each school consecutively, schools in SchoolList
// order, so that the school cells merged over schoolClassCount rows line up with the class rows.
bool classesFollowSchools(const std::vector<std::pair<std::string, std::string>>& entries,
                          const std::vector<std::string>& schools, const std::vector<int>& schoolClassCount) {
    size_t position = 0;
    for (size_t k = 0; k < schools.size(); ++k) {
        for (int m = 0; m < schoolClassCount[k]; ++m, ++position) {
            if (position >= entries.size() || entries[position].first != schools[k]) return false;
        }
    }
    return position == entries.size();
}

}  // namespace

void writeClassRates(ExcelSheet& sheet, const AppState& state, const std::string& title) {
    const ImportResults& imported = state.imported;
    const std::vector<std::string>& subjects = imported.examSubjects;
    const std::vector<std::string>& schools = imported.schoolList;
    const std::vector<std::string>& classes = imported.classList.entries();
    const int classCount = static_cast<int>(classes.size());
    const int n = static_cast<int>(subjects.size());
    const bool zeroExcluded = state.exportOptions.ignoreZeroScores;

    RateCells out(sheet);
    writeSixteenColumnHead(out, title, tx::kClassHeaders);

    std::vector<std::pair<std::string, std::string>> entries;  // school part, class part
    std::unordered_map<std::string, int> classesOfSchool;
    for (size_t i = 0; i < classes.size(); ++i) {
        entries.push_back(imported.classList.parts(i));
        ++classesOfSchool[entries.back().first];
    }
    std::vector<int> schoolClassCount;
    for (const std::string& school : schools) {
        auto it = classesOfSchool.find(school);
        schoolClassCount.push_back(it == classesOfSchool.end() ? 0 : it->second);
    }
    if (classCount == 0) return;
    const bool mergeSchools = classesFollowSchools(entries, schools, schoolClassCount);

    // Figures: a student belongs to the entry equal to "学校 班级".
    std::unordered_map<std::string, size_t> groupOfEntry;
    for (size_t j = 0; j < classes.size(); ++j) groupOfEntry.emplace(classes[j], j);
    std::vector<RateColumn> columns;
    for (const std::string& subject : subjects)
        columns.push_back({columnOfSubject(subject), subjectRule(state.scores, subject, zeroExcluded)});
    columns.push_back({kTotalColumn, classTotalRule(state.scores, zeroExcluded)});
    RateTally tally(classes.size(), std::move(columns));
    std::string key;
    for (int r = 0; r < state.students.rowCount(); ++r) {
        const std::vector<std::string>& cells = state.students.row(r);
        key.assign(cells[0]).append(" ").append(cells[1]);
        auto it = groupOfEntry.find(key);
        if (it != groupOfEntry.end()) tally.addStudent(it->second, cells);
    }

    // Subject teachers: the first TeacherTable row of the grade for school, class and subject.
    std::unordered_map<std::string, std::string> teacherOf;
    for (int r = 0; r < state.teachers.rowCount(); ++r) {
        const std::vector<std::string>& t = state.teachers.row(r);
        if (t[1] != imported.gradeName) continue;
        teacherOf.emplace(groupKey({t[0], t[2], t[3]}), t[4]);
    }
    auto teacherText = [&](int block, int j) -> std::string {
        if (block >= n) return std::string();
        const auto& [school, className] = entries[static_cast<size_t>(j)];
        auto it = teacherOf.find(groupKey({school, className, subjects[static_cast<size_t>(block)]}));
        return it == teacherOf.end() ? std::string() : it->second;
    };

    auto firstRow = [&](int block) { return classCount * block + kFirstDataRow; };
    auto lastRow = [&](int block) { return firstRow(block) + classCount - 1; };
    auto figures = [&](int block, int j) -> const RateGroup& {
        return tally.at(static_cast<size_t>(j), static_cast<size_t>(block));
    };

    for (int s = 0; s <= n; ++s) {
        std::string label = s < n ? strprintf("%s\n%s%d%s", subjects[static_cast<size_t>(s)].c_str(),
                                              rate_texts::kFullMarkOpen,
                                              state.scores.fullMarkOf(subjects[static_cast<size_t>(s)]),
                                              rate_texts::kFullMarkClose)
                                  : strprintf("%s\n%s%d%s", kTotalName, rate_texts::kFullMarkOpen,
                                              imported.examFullMarkTotal, rate_texts::kFullMarkClose);
        out.block(kLabel, firstRow(s), lastRow(s), label);
        out.formulaBlock(kBlockAverage, firstRow(s), lastRow(s),
                         averageFormula(kAverage, firstRow(s), lastRow(s)));
    }

    for (int s = 0; s <= n; ++s) {
        if (mergeSchools) {
            int row = firstRow(s);
            for (size_t k = 0; k < schools.size(); ++k) {
                if (schoolClassCount[k] == 0) continue;  // no rows of its own to merge over
                out.block(kSchool, row, row + schoolClassCount[k] - 1, schools[k]);
                row += schoolClassCount[k];
            }
        } else {
            for (int j = 0; j < classCount; ++j)
                out.cell(kSchool, firstRow(s) + j, entries[static_cast<size_t>(j)].first);
        }
    }

    for (int s = 0; s <= n; ++s) {
        for (int j = 0; j < classCount; ++j) {
            out.cell(kClass, firstRow(s) + j,
                     strprintf(tx::kClassLabelFormat, entries[static_cast<size_t>(j)].second.c_str()));
        }
    }

    const int figureColumns[] = {kSat,           kHeadTeacher, kTeacher,  kExcellentCount,
                                 kExcellentRate, kPassCount,   kPassRate, kAverage};
    for (int column : figureColumns) {
        const bool rateFormat = column == kExcellentRate || column == kPassRate || column == kAverage;
        for (int s = 0; s <= n; ++s) {
            for (int j = 0; j < classCount; ++j) {
                const RateGroup& g = figures(s, j);
                std::string value;
                switch (column) {
                    case kSat:
                        value = countText(g.satCount);
                        break;
                    case kTeacher:
                        value = teacherText(s, j);
                        break;
                    case kExcellentCount:
                        value = countText(g.excellentCount);
                        break;
                    case kExcellentRate:
                        value = rateText(g.excellentCount, g.satCount);
                        break;
                    case kPassCount:
                        value = countText(g.passCount);
                        break;
                    case kPassRate:
                        value = rateText(g.passCount, g.satCount);
                        break;
                    case kAverage:
                        value = averageText(g.scoreSum, g.satCount);
                        break;
                    default:
                        break;  // 班主任 stays empty
                }
                out.cell(column, firstRow(s) + j, value, {.rateFormat = rateFormat});
            }
        }
    }

    for (int s = 0; s <= n; ++s) {
        const int first = firstRow(s), last = lastRow(s);
        for (int row = first; row <= last; ++row) {
            out.cell(kExcellentRank, row, rankFormula(kExcellentRate, row, first, last), {.formula = true});
            out.cell(kPassRank, row, rankFormula(kPassRate, row, first, last), {.formula = true});
            out.cell(kAverageRank, row, rankFormula(kAverage, row, first, last), {.formula = true});
            // A class without an average has no deviation either.
            const bool sat = figures(s, row - first).satCount > 0;
            out.cell(kDeviation, row,
                     sat ? deviationFormula(kAverage, row, kBlockAverage, first) : std::string(),
                     {.rateFormat = true, .formula = true});
        }
    }
}

}  // namespace varnex
