#include "import/teacher_import.h"

#include <algorithm>

#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "import/import_common.h"
#include "import/import_texts.h"
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

// Reads the rows into the TeacherTable; false when a check or the reader stopped the import.
bool readRows(AppState& state, Frontend& frontend, SheetQuery& query, const std::string& singleSchool,
              uint32_t classColumn) {
    while (!query.atEnd()) {
        const std::string& school = singleSchool.empty() ? query.field(kSchoolField) : singleSchool;
        const std::string& grade = query.field(kGradeField);
        std::string writtenClass = removeTrailingDotZero(query.field(kClassField));
        if (Status checked = checkSchoolAndKey(school, tx::kClass, writtenClass, state.imported.teacherCount);
            !checked) {
            reportRowProblem(state, frontend, checked.error());
            return false;
        }
        Result<std::string> className = classOfRow(state, writtenClass, query.sheetRow(), classColumn);
        if (!className) {
            reportRowProblem(state, frontend, className.error());
            return false;
        }
        for (size_t i = 0; i < kSubjects.size(); ++i) {
            std::string teacher = query.field(kFirstSubjectField + i);
            teacher.erase(std::remove(teacher.begin(), teacher.end(), ' '), teacher.end());
            if (teacher.empty()) continue;
            state.teachers.appendRow({school, grade, *className, kSubjects[i].name, std::move(teacher)});
            ++state.imported.teacherCount;
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

    state.teachers.clear();
    if (query.atEnd()) {
        r.teacherCount = 0;
        frontend.showMessage(tx::kNoTeacherRows, common_texts::kCaptionError, MessageIcon::Error);
    } else {
        r.teacherCount = 0;
        appendLog(state, frontend, std::string(tx::kLogSheet) + r.sheetName);
        logHeader(state, frontend, *header, *singleSchool);
        if (readRows(state, frontend, query, *singleSchool, *header->keys[kClassKey])) {
            appendLog(state, frontend, strprintf(tx::kTeacherSummaryFormat, r.teacherCount));
            frontend.setTitle(importTitle(state, tx::kImported));
            frontend.playNotification();
        }
    }
    query.close();
}

}  // namespace varnex
