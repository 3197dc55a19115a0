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

// The query's fields, in the order of the selected columns: 学校, 年级, 班级, then every subject.
enum Field : size_t { kSchoolField, kGradeField, kClassField, kFirstSubjectField };

// Reads the rows into the TeacherTable; false when a check or the reader stopped the import.
bool readRows(AppState& state, Frontend& frontend, SheetQuery& query) {
    while (!query.atEnd()) {
        const std::string& school = query.field(kSchoolField);
        const std::string& grade = query.field(kGradeField);
        std::string className = removeTrailingDotZero(query.field(kClassField));
        if (Status checked = checkSchoolAndKey(school, tx::kClass, className, state.imported.teacherCount);
            !checked) {
            reportRowProblem(state, frontend, checked.error());
            return false;
        }
        for (size_t i = 0; i < kSubjects.size(); ++i) {
            std::string teacher = query.field(kFirstSubjectField + i);
            teacher.erase(std::remove(teacher.begin(), teacher.end(), ' '), teacher.end());
            if (teacher.empty()) continue;
            state.teachers.appendRow({school, grade, className, kSubjects[i].name, std::move(teacher)});
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
    // The subject columns are kept apart from ExamSubjects, which describes the last student import.
    std::vector<std::string> subjects;
    for (const auto& subject : kSubjects) subjects.emplace_back(subject.name);

    std::string confirmation =
        strprintf(tx::kTeacherConfirmFormat, fileNameOf(state.workbook.path).c_str(), r.sheetName.c_str());
    if (!frontend.askYesNo(confirmation, common_texts::kCaptionConfirm)) return;

    std::vector<std::string> columns{tx::kSchool, tx::kGrade, tx::kClass};
    columns.insert(columns.end(), subjects.begin(), subjects.end());
    frontend.setTitle(importTitle(state, tx::kImporting));

    SheetQuery query;
    if (!openImportQuery(query, state, frontend, columns)) return;

    state.teachers.clear();
    if (query.atEnd()) {
        r.teacherCount = 0;
        frontend.showMessage(tx::kNoTeacherRows, common_texts::kCaptionError, MessageIcon::Error);
    } else {
        r.teacherCount = 0;
        appendLog(state, frontend, std::string(tx::kLogSheet) + r.sheetName);
        if (readRows(state, frontend, query)) {
            appendLog(state, frontend, strprintf(tx::kTeacherSummaryFormat, r.teacherCount));
            frontend.setTitle(importTitle(state, tx::kImported));
            frontend.playNotification();
        }
    }
    query.close();
}

}  // namespace varnex
