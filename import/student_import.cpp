#include "import/student_import.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "app/control_ids.h"
#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "import/import_common.h"
#include "import/import_texts.h"
#include "import/sheet_query.h"

namespace varnex {

namespace tx = import_texts;

namespace {

// The query's fields, in the order of the selected columns: 学校, 班级, 姓名, then the examined
// subjects.
enum Field : size_t { kSchoolField, kClassField, kNameField, kFirstSubjectField };

// A StudentTable row: 学校, 班级, 姓名, the subjects in their columns, 总分 last.
enum StudentCell : size_t { kSchoolCell, kClassCell, kNameCell };
constexpr size_t kStudentCells = kTotalColumn + 1;

// Asks about every full mark outside its plausible range; false when one is not confirmed.
bool confirmFullMarks(const AppState& state, Frontend& frontend) {
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        int fullMark = state.scores.fullMark[i];
        if (fullMark >= 0 && fullMark <= kSubjects[i].plausibleLimit) continue;
        std::string question = strprintf(tx::kPlausibilityFormat, kSubjects[i].name, fullMark);
        if (!frontend.askYesNo(question, common_texts::kCaptionConfirm)) return false;
    }
    return true;
}

std::string confirmationText(const AppState& state, const std::vector<size_t>& examined) {
    std::string lines;
    for (size_t i : examined) {
        lines += strprintf(tx::kConfirmSubjectLineFormat, kSubjects[i].name, state.scores.fullMark[i]);
    }
    return strprintf(tx::kStudentConfirmFormat, fileNameOf(state.workbook.path).c_str(),
                     state.imported.sheetName.c_str(), state.imported.gradeName.c_str(),
                     static_cast<int>(examined.size()), lines.c_str());
}

// The school runs of the ClassList: a school whose classes are not consecutive appears once per run.
std::vector<std::string> schoolRunsOf(const ClassList& classList) {
    std::vector<std::string> schools;
    std::string previous;
    for (size_t i = 0; i < classList.size(); ++i) {
        std::string school = classList.parts(i).first;
        if (school != previous) {
            schools.push_back(school);
            previous = std::move(school);
        }
    }
    return schools;
}

// Brings the counts and the SchoolList in line with what the StudentTable and ClassList hold.
void refreshSummary(AppState& state) {
    state.imported.studentCount = state.students.rowCount();
    state.imported.classCount = static_cast<int>(state.imported.classList.size());
    state.imported.schoolList = schoolRunsOf(state.imported.classList);
}

// The total of the eleven slots formatted as "%.1f" without a trailing ".0" (to_chars with a
// precision gives exactly what printf gives, without its per-call cost).
std::string totalText(const std::vector<std::string>& cells) {
    double total = 0.0;
    for (const auto& subject : kSubjects) total += cAtof(cells[static_cast<size_t>(subject.column)]);
    return removeTrailingDotZero(fixedText(total, 1));
}

bool isMissing(const std::string& score) {
    return score.empty() || score == "0";
}

bool shouldSkip(const AppState& state, const std::vector<std::string>& cells, int examinedCount) {
    int rule = state.importOptions.missingRule;
    if (rule != 0 && rule != 1) return false;
    int missing = 0;
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        if (state.scores.fullMark[i] != 0 && isMissing(cells[static_cast<size_t>(kSubjects[i].column)]))
            ++missing;
    }
    return rule == 0 ? missing > examinedCount / 2 : missing > state.importOptions.missingLimit;
}

// The row checks; false (after the message, log line, focus and selection) when one fails.
bool checkRow(AppState& state, Frontend& frontend, const std::vector<std::string>& cells) {
    const int count = state.imported.studentCount;
    if (Status checked = checkSchoolAndKey(cells[kSchoolCell], tx::kName, cells[kNameCell], count);
        !checked) {
        reportRowProblem(state, frontend, checked.error());
        return false;
    }
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        int fullMark = state.scores.fullMark[i];
        if (fullMark == 0) continue;
        int score = cAtoi(cells[static_cast<size_t>(kSubjects[i].column)]);
        if (score <= fullMark) continue;
        std::string problem =
            strprintf(tx::kAboveFullMarkFormat, kSubjects[i].name, score, kSubjects[i].name, fullMark);
        frontend.showMessage(problem, common_texts::kCaptionError, MessageIcon::Error);
        appendLog(state, frontend, problem);
        frontend.focusControl(ctl::StudentTable);
        state.students.selectRow(count - 1);
        return false;
    }
    return true;
}

// Where the row loop ended.
enum class LoopEnd { EndOfData, Stopped };

LoopEnd readRows(AppState& state, Frontend& frontend, SheetQuery& query,
                 const std::vector<size_t>& examined) {
    const int examinedCount = static_cast<int>(examined.size());
    while (!query.atEnd()) {
        std::vector<std::string> cells(kStudentCells);
        cells[kSchoolCell] = query.field(kSchoolField);
        cells[kClassCell] = removeTrailingDotZero(query.field(kClassField));
        cells[kNameCell] = query.field(kNameField);
        bool allEmpty = cells[kSchoolCell].empty() && cells[kClassCell].empty() && cells[kNameCell].empty();
        for (size_t k = 0; k < examined.size(); ++k) {
            std::string& slot = cells[static_cast<size_t>(kSubjects[examined[k]].column)];
            slot = removeTrailingDotZero(query.field(kFirstSubjectField + k));
            allEmpty = allEmpty && slot.empty();
        }
        if (allEmpty) return LoopEnd::EndOfData;
        cells[kTotalColumn] = totalText(cells);

        if (!shouldSkip(state, cells, examinedCount)) {
            state.students.appendRow(cells);
            ++state.imported.studentCount;
        }
        if (!checkRow(state, frontend, cells)) return LoopEnd::Stopped;
        state.imported.classList.add(cells[kSchoolCell], cells[kClassCell]);

        if (!moveToNextRow(query, state, frontend)) return LoopEnd::Stopped;
    }
    return LoopEnd::EndOfData;
}

void endOfData(AppState& state, Frontend& frontend, int examinedCount) {
    refreshSummary(state);
    ImportResults& r = state.imported;
    if (r.classCount == 0) {
        frontend.showMessage(tx::kNoClasses, common_texts::kCaptionError, MessageIcon::Error);
        return;
    }
    r.classList.selected = 0;
    if (r.schoolList.empty()) {
        frontend.showMessage(tx::kNoSchools, common_texts::kCaptionError, MessageIcon::Error);
        return;
    }
    appendLog(state, frontend,
              strprintf(tx::kStudentSummaryFormat, r.gradeName.c_str(), static_cast<int>(r.schoolList.size()),
                        r.classCount, examinedCount, r.studentCount));
    frontend.setTitle(importTitle(state, tx::kImported));
    frontend.playNotification();
}

}  // namespace

void importStudents(AppState& state, Frontend& frontend) {
    ImportResults& r = state.imported;
    if (!worksheetSelected(state, frontend)) return;
    r.gradeName = state.gradeName();
    if (!confirmFullMarks(state, frontend)) return;

    std::vector<size_t> examined;
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        if (state.scores.fullMark[i] != 0) examined.push_back(i);
    }
    if (examined.empty()) {
        frontend.showMessage(tx::kNoSubjects, common_texts::kCaptionError, MessageIcon::Error);
        return;
    }
    long long fullMarkTotal = 0;
    r.examSubjects.clear();
    for (size_t i : examined) {
        r.examSubjects.emplace_back(kSubjects[i].name);
        fullMarkTotal += state.scores.fullMark[i];
    }
    r.examFullMarkTotal = static_cast<int>(std::clamp<long long>(fullMarkTotal, INT_MIN, INT_MAX));

    r.sheetName = state.workbook.selectedSheetName();
    if (r.sheetName.empty()) {
        frontend.showMessage(tx::kEmptySheetName, common_texts::kCaptionError, MessageIcon::Error);
        return;
    }
    if (!frontend.askYesNo(confirmationText(state, examined), common_texts::kCaptionConfirm)) return;

    std::vector<std::string> columns{tx::kSchool, tx::kClass, tx::kName};
    columns.insert(columns.end(), r.examSubjects.begin(), r.examSubjects.end());
    frontend.setTitle(importTitle(state, tx::kImporting));

    SheetQuery query;
    if (!openImportQuery(query, state, frontend, columns, r.examSubjects)) return;

    state.students.clear();
    r.classList.clear();
    if (query.atEnd()) {
        frontend.showMessage(tx::kNoScoreRows, common_texts::kCaptionError, MessageIcon::Error);
        refreshSummary(state);
    } else {
        appendLog(state, frontend, std::string(tx::kLogSheet) + r.sheetName);
        r.studentCount = 0;
        if (readRows(state, frontend, query, examined) == LoopEnd::EndOfData) {
            endOfData(state, frontend, static_cast<int>(examined.size()));
        } else {
            refreshSummary(state);
        }
    }

    query.close();
    frontend.enableControl(ctl::ExportResults, true);
}

}  // namespace varnex
