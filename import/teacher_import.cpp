#include "import/teacher_import.h"

#include <algorithm>

#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "import/import_common.h"
#include "import/import_texts.h"
#include "import/row_problems.h"
#include "import/sheet_query.h"

namespace varnex {

namespace tx = import_texts;

namespace {

// The key columns of a teacher sheet, in the order of the header request.
enum Key : size_t { kSchoolKey, kGradeKey, kClassKey };

// What a teacher sheet's header must hold: 学校 (or a school given for the whole sheet), 年级,
// 班级 and every subject.
const HeaderRequest kTeacherSheetRequest{{tx::kSchool, tx::kGrade, tx::kClass}, {tx::kClass}};

// The query's fields, in the order of the selected columns: 年级, 班级, every subject, and 学校
// last when the sheet has that column.
enum Field : size_t { kGradeField, kClassField, kFirstSubjectField };
constexpr size_t kSchoolField = kFirstSubjectField + kSubjectCount;

// Checks that the header has every column the import reads and, for a sheet without 学校 column,
// asks for its school ("" when the sheet has the column). Nothing (after the message) when the
// sheet cannot be imported.
std::optional<std::string> schoolOfSheet(SheetQuery& query, AppState& state, Frontend& frontend,
                                         const SheetHeader& header, const std::vector<std::string>& needed) {
    std::vector<std::string> missing;
    for (size_t k = kSchoolKey; k <= kClassKey; ++k) {
        if (!header.keys[k]) missing.emplace_back(kTeacherSheetRequest.keys[k]);
    }
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        if (!header.subjects[i]) missing.emplace_back(kSubjects[i].name);
    }
    if (missing.empty()) return std::string();
    if (missing.size() == 1 && missing.front() == tx::kSchool) {
        std::optional<std::string> school = askSchoolOfSheet(state, frontend);
        if (!school) query.close();
        return school;
    }
    reportSheetUnreadable(query, state, frontend, missingColumnsReason(state, missing), needed);
    return std::nullopt;
}

// Reads every row into `rows` (the TeacherTable's rows to be) and notes the rows' problems; false
// when the reader stopped (after saying so).
bool readRows(AppState& state, Frontend& frontend, SheetQuery& query, const std::string& singleSchool,
              uint32_t classColumn, std::vector<std::vector<std::string>>& rows, RowProblems& problems) {
    while (!query.atEnd()) {
        const std::string& school = singleSchool.empty() ? query.field(kSchoolField) : singleSchool;
        const std::string& grade = query.field(kGradeField);
        std::string writtenClass = removeTrailingDotZero(query.field(kClassField));
        const int sheetRow = query.sheetRow();
        const int count = static_cast<int>(rows.size());
        Result<std::string> className = classOfRow(state, writtenClass, sheetRow, classColumn);
        if (Status checked = checkSchoolAndKey(school, tx::kClass, writtenClass, count); !checked) {
            problems.add({sheetRow, "", tx::kSchool, school, checked.error()});
        } else if (!className) {
            problems.add({sheetRow, "", tx::kClass, writtenClass, className.error()});
        } else {
            for (size_t i = 0; i < kSubjects.size(); ++i) {
                std::string teacher = query.field(kFirstSubjectField + i);
                teacher.erase(std::remove(teacher.begin(), teacher.end(), ' '), teacher.end());
                if (teacher.empty()) continue;
                rows.push_back({school, grade, *className, kSubjects[i].name, std::move(teacher)});
            }
        }
        if (!moveToNextRow(query, state, frontend)) return false;
    }
    return true;
}

}  // namespace

void importTeachers(AppState& state, Frontend& frontend) {
    ImportResults& r = state.imported;
    if (!worksheetSelected(state, frontend)) return;
    r.sheetName = state.workbook.selectedSheetName();
    if (r.sheetName.empty()) {
        frontend.showMessage(tx::kEmptySheetName, common_texts::kCaptionError, MessageIcon::Error);
        return;
    }
    // The header texts the sheet needs, as a message names them: 学校, 年级, 班级 and every subject
    // (kept apart from ExamSubjects, which describes the last student import).
    std::vector<std::string> needed(kTeacherSheetRequest.keys);
    for (const auto& subject : kSubjects) needed.emplace_back(subject.name);

    std::string confirmation =
        strprintf(tx::kTeacherConfirmFormat, fileNameOf(state.workbook.path).c_str(), r.sheetName.c_str());
    if (!frontend.askYesNo(confirmation, common_texts::kCaptionConfirm)) return;

    SheetQuery query;
    std::optional<SheetHeader> header = openImportSheet(query, state, frontend, kTeacherSheetRequest, needed);
    if (!header) return;
    std::optional<std::string> singleSchool = schoolOfSheet(query, state, frontend, *header, needed);
    if (!singleSchool) return;
    frontend.setTitle(importTitle(state, tx::kImporting));
    std::vector<uint32_t> columns{*header->keys[kGradeKey], *header->keys[kClassKey]};
    for (const auto& column : header->subjects) columns.push_back(*column);
    if (singleSchool->empty()) columns.push_back(*header->keys[kSchoolKey]);
    if (!selectImportColumns(query, state, frontend, columns, *header, needed)) return;

    if (query.atEnd()) {
        state.teachers.clear();
        r.teacherCount = 0;
        frontend.showMessage(tx::kNoTeacherRows, common_texts::kCaptionError, MessageIcon::Error);
    } else {
        appendLog(state, frontend, std::string(tx::kLogSheet) + r.sheetName);
        logHeader(state, frontend, *header, *singleSchool);
        std::vector<std::vector<std::string>> rows;
        RowProblems problems;
        if (readRows(state, frontend, query, *singleSchool, *header->keys[kClassKey], rows, problems)) {
            if (problems.empty()) {
                state.teachers.clear();
                for (auto& row : rows) state.teachers.appendRow(std::move(row));
                r.teacherCount = state.teachers.rowCount();
                appendLog(state, frontend, strprintf(tx::kTeacherSummaryFormat, r.teacherCount));
                frontend.setTitle(importTitle(state, tx::kImported));
                frontend.playNotification();
            } else {
                // Nothing of the sheet is taken: the TeacherTable stays as it was.
                for (const RowProblem& problem : problems.all())
                    appendLog(state, frontend, RowProblems::line(problem));
                frontend.showMessage(
                    strprintf(tx::kProblemsFormat, r.sheetName.c_str(),
                              static_cast<int>(problems.all().size()), problems.lines(false).c_str()),
                    common_texts::kCaptionError, MessageIcon::Error);
            }
        }
    }
    query.close();
}

}  // namespace varnex
