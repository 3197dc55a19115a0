#include "import/teacher_import.h"

#include <algorithm>

#include "app/failure_trail.h"
#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "import/header_names.h"
#include "import/import_common.h"
#include "import/import_texts.h"
#include "import/row_problems.h"
#include "import/sheet_query.h"

namespace varnex {

namespace tx = import_texts;

namespace {

// The key columns of a teacher sheet, in the order of both header requests.
enum Key : size_t { kSchoolKey, kGradeKey, kClassKey, kSubjectKey, kTeacherKey, kNameKey };

// A sheet with one row per class and a column per subject taught: 班级 and at least one subject;
// 学校 (or a school given for the whole sheet) and 年级 when the sheet has them.
const HeaderRequest kWideSheetRequest{{tx::kSchool, tx::kGrade, tx::kClass}, {tx::kClass}};
// A list with one row per teacher and class: 班级, 学科 and 教师 (or 姓名); 学校 and 年级 as above.
const HeaderRequest kTeacherListRequest{
    {tx::kSchool, tx::kGrade, tx::kClass, tx::kSubjectColumn, tx::kTeacher, tx::kName},
    {tx::kClass, tx::kSubjectColumn},
    false};

// Where the columns read are among the query's fields.
struct Fields {
    std::optional<size_t> school, grade;
    size_t klass = 0;
    std::array<std::optional<size_t>, kSubjectCount> subjects{};  // a sheet with a column per subject
    std::vector<std::pair<std::string, size_t>> extraSubjects;    // its columns of extra subjects
    std::optional<size_t> subject, teacher;                       // a list of teachers
};

// The sheet as found: its header, whether it lists one row per teacher and class, and the school
// given for a sheet without 学校 column ("" when it has one).
struct TeacherSheet {
    SheetHeader header;
    bool list = false;
    std::string singleSchool;
    std::optional<uint32_t> teacherColumn() const {
        return header.keys[kTeacherKey] ? header.keys[kTeacherKey] : header.keys[kNameKey];
    }
};

// What a sheet that can be read by neither request lacks (the columns of the sheet with a column
// per subject), or what a list lacks.
std::vector<std::string> missingColumns(const TeacherSheet& sheet) {
    std::vector<std::string> missing;
    if (!sheet.header.keys[kClassKey]) missing.emplace_back(tx::kClass);
    if (sheet.list) {
        if (!sheet.teacherColumn()) missing.emplace_back(tx::kTeacher);
    } else if (!sheet.header.found) {
        missing.emplace_back(tx::kAnySubjectColumn);
    }
    return missing;
}

// Opens the sheet and finds its header and shape; for a sheet without 学校 column asks for its
// school. Nothing (after the message) when the sheet cannot be imported.
std::optional<TeacherSheet> openTeacherSheet(SheetQuery& query, AppState& state, Frontend& frontend) {
    std::optional<SheetHeader> wide = openImportSheet(query, state, frontend, kWideSheetRequest);
    if (!wide) return std::nullopt;
    TeacherSheet sheet{std::move(*wide), false, {}};
    if (!sheet.header.found) {
        Result<SheetHeader> list =
            findHeader(query.leadingRows(), kTeacherListRequest, state.imported.sheetName);
        if (!list) {
            refuseSheet(query, frontend, list.error());
            return std::nullopt;
        }
        if (list->found) sheet = {std::move(list).value(), true, {}};
    }
    if (std::vector<std::string> missing = missingColumns(sheet); !missing.empty()) {
        refuseSheet(query, frontend, missingColumnsMessage(state, missing) + tx::kTeacherColumnsHint);
        return std::nullopt;
    }
    if (!sheet.header.keys[kSchoolKey]) {
        std::optional<std::string> school = askSchoolOfSheet(state, frontend);
        if (!school) {
            query.close();
            return std::nullopt;
        }
        sheet.singleSchool = *school;
    }
    return sheet;
}

// True for an extra subject the teachers can be read for: a column of the last score sheet that
// names no subject of the list, or a subject given a full mark or line as an extra subject.
bool isExtraSubjectName(const AppState& state, const std::string& name) {
    const std::vector<std::string>& columns = state.imported.extraColumns;
    return isExtraSubjectColumn(name) && (std::find(columns.begin(), columns.end(), name) != columns.end() ||
                                          state.scores.findExtra(name) != nullptr);
}

// Selects the columns the import reads below the header.
std::optional<Fields> selectFields(SheetQuery& query, const AppState& state, Frontend& frontend,
                                   const TeacherSheet& sheet) {
    std::vector<uint32_t> columns;
    auto add = [&](uint32_t column) {
        columns.push_back(column);
        return columns.size() - 1;
    };
    const SheetHeader& header = sheet.header;
    Fields fields;
    if (header.keys[kGradeKey]) fields.grade = add(*header.keys[kGradeKey]);
    fields.klass = add(*header.keys[kClassKey]);
    if (sheet.list) {
        fields.subject = add(*header.keys[kSubjectKey]);
        fields.teacher = add(*sheet.teacherColumn());
    } else {
        for (size_t i = 0; i < kSubjectCount; ++i) {
            if (header.subjects[i]) fields.subjects[i] = add(*header.subjects[i]);
        }
        for (const auto& [name, column] : header.extraColumns) {
            if (isExtraSubjectName(state, name)) fields.extraSubjects.emplace_back(name, add(column));
        }
    }
    if (header.keys[kSchoolKey]) fields.school = add(*header.keys[kSchoolKey]);
    if (!selectImportColumns(query, state, frontend, columns, header)) return std::nullopt;
    return fields;
}

// Every problem of a teacher sheet is shown here, all in one message, each with its sheet row;
// nothing of the sheet has been taken.
void reportTeacherProblems(const AppState& state, Frontend& frontend, const RowProblems& problems) {
    frontend.showMessage(problems.refusal(state.imported.sheetName), common_texts::kCaptionError,
                         MessageIcon::Error);
}

std::string withoutBlanks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

// The subjects of a list that are not analysed, each once, for the log.
using SubjectsNotAnalysed = std::vector<std::string>;

// Reads the current row into the TeacherTable, or adds its problem.
void readRow(AppState& state, const SheetQuery& query, const TeacherSheet& sheet, const Fields& fields,
             RowProblems& problems, SubjectsNotAnalysed& notAnalysed) {
    int& count = state.imported.teacherCount;
    const int row = query.sheetRow();
    const std::string& school = fields.school ? query.field(*fields.school) : sheet.singleSchool;
    const std::string grade = fields.grade ? query.field(*fields.grade) : std::string();
    std::string writtenClass = removeTrailingDotZero(query.field(fields.klass));
    if (Status checked = checkSchoolAndKey(school, tx::kClass, writtenClass); !checked) {
        problems.add({row, "", school.empty() ? tx::kSchool : tx::kClass, school, checked.error()});
        return;
    }
    Result<std::vector<std::string>> classes =
        classesOfRow(state, writtenClass, row, *sheet.header.keys[kClassKey]);
    if (!classes) {
        problems.add({row, "", tx::kClass, writtenClass, classes.error()});
        return;
    }
    if (sheet.list) {
        std::string written = normaliseHeaderText(query.field(*fields.subject));
        std::string subject = headerNameOf(written).name;
        const bool extra = subjectIndex(subject) < 0 && isExtraSubjectName(state, written);
        if (extra) subject = written;
        if (subjectIndex(subject) < 0 && !extra) {
            if (!written.empty() && !isKnownNonScoreColumn(written) &&
                std::find(notAnalysed.begin(), notAnalysed.end(), written) == notAnalysed.end())
                notAnalysed.push_back(written);
            return;
        }
        std::string teacher = withoutBlanks(query.field(*fields.teacher));
        if (teacher.empty()) return;
        for (const std::string& klass : *classes) {
            state.teachers.appendRow({school, grade, klass, subject, teacher});
            ++count;
        }
        return;
    }
    for (const std::string& klass : *classes) {
        for (size_t i = 0; i < kSubjectCount; ++i) {
            if (!fields.subjects[i]) continue;
            std::string teacher = withoutBlanks(query.field(*fields.subjects[i]));
            if (teacher.empty()) continue;
            state.teachers.appendRow({school, grade, klass, kSubjects[i].name, std::move(teacher)});
            ++count;
        }
        for (const auto& [subject, field] : fields.extraSubjects) {
            std::string teacher = withoutBlanks(query.field(field));
            if (teacher.empty()) continue;
            state.teachers.appendRow({school, grade, klass, subject, std::move(teacher)});
            ++count;
        }
    }
}

// Reads the rows into the TeacherTable, collecting the problems of the rows that cannot be read;
// false when the reader stopped the import.
bool readRows(AppState& state, Frontend& frontend, SheetQuery& query, const TeacherSheet& sheet,
              const Fields& fields, RowProblems& problems) {
    SubjectsNotAnalysed notAnalysed;
    while (!query.atEnd()) {
        readRow(state, query, sheet, fields, problems, notAnalysed);
        if (!moveToNextRow(query, state, frontend)) return false;
    }
    if (!notAnalysed.empty()) {
        std::string names;
        for (const auto& name : notAnalysed) names += (names.empty() ? "" : tx::kNameSeparator) + name;
        appendLog(state, frontend, strprintf(tx::kLogSubjectsNotAnalysedFormat, names.c_str()));
    }
    return true;
}

Result<TeacherImportOutcome> readTeacherSheet(AppState& state, FailureTrail& frontend) {
    ImportResults& r = state.imported;
    if (!worksheetSelected(state, frontend)) return frontend.failure(ErrorKind::BadInput);
    r.sheetName = state.workbook.selectedSheetName();
    if (r.sheetName.empty()) {
        frontend.showMessage(tx::kEmptySheetName, common_texts::kCaptionError, MessageIcon::Error);
        return frontend.failure(ErrorKind::BadInput);
    }
    std::string confirmation =
        strprintf(tx::kTeacherConfirmFormat, fileNameOf(state.workbook.path).c_str(), r.sheetName.c_str());
    if (!frontend.askYesNo(confirmation, common_texts::kCaptionConfirm))
        return frontend.failure(ErrorKind::Cancelled);

    SheetQuery query;
    std::optional<TeacherSheet> sheet = openTeacherSheet(query, state, frontend);
    if (!sheet) return frontend.failure(ErrorKind::FileRefused);
    frontend.setTitle(importTitle(state, tx::kImporting));
    std::optional<Fields> fields = selectFields(query, state, frontend, *sheet);
    if (!fields) return frontend.failure(ErrorKind::FileRefused);

    // What a sheet with problems, or one the reader cannot finish, leaves in place.
    RowTable teachersBefore = state.teachers;
    const int countBefore = r.teacherCount;
    const bool anyGradeBefore = r.teachersOfAnyGrade;
    TableSource sourceBefore = state.teacherSource;
    state.teachers.clear();
    state.teacherSource = {state.workbook.path, r.sheetName};
    r.teacherCount = 0;
    r.teachersOfAnyGrade = !fields->grade;
    std::optional<Error> failure;
    if (query.atEnd()) {
        state.teacherSource = {};  // the table is empty now
        frontend.showMessage(tx::kNoTeacherRows, common_texts::kCaptionError, MessageIcon::Error);
        failure = frontend.failure(ErrorKind::BadInput);
    } else {
        const char* sheetName = r.sheetName.c_str();
        appendLog(state, frontend, std::string(tx::kLogSheet) + r.sheetName);
        logHeader(state, frontend, sheet->header, sheet->singleSchool);
        if (sheet->list) appendLog(state, frontend, strprintf(tx::kLogTeacherListFormat, sheetName));
        if (!fields->grade) appendLog(state, frontend, strprintf(tx::kLogNoGradeFormat, sheetName));
        RowProblems problems;
        const bool read = readRows(state, frontend, query, *sheet, *fields, problems);
        if (!read || !problems.empty()) {
            state.teachers = std::move(teachersBefore);
            r.teacherCount = countBefore;
            r.teachersOfAnyGrade = anyGradeBefore;
            state.teacherSource = std::move(sourceBefore);
        }
        if (!read) failure = frontend.failure(ErrorKind::FileRefused);
        if (read) {
            if (!problems.empty()) {
                reportTeacherProblems(state, frontend, problems);
                failure = frontend.failure(ErrorKind::BadInput);
            } else {
                appendLog(state, frontend, strprintf(tx::kTeacherSummaryFormat, r.teacherCount));
                frontend.setTitle(importTitle(state, tx::kImported));
                frontend.playNotification();
            }
        }
    }
    query.close();
    if (failure) return *failure;
    return TeacherImportOutcome{r.sheetName, r.teacherCount};
}

}  // namespace

Result<TeacherImportOutcome> importTeachers(AppState& state, Frontend& shown) {
    FailureTrail frontend(shown);  // what the steps show is also what the import returns
    Result<TeacherImportOutcome> outcome = readTeacherSheet(state, frontend);
    if (!outcome) endRefusedImport(state, shown, outcome.failure());
    return outcome;
}

Status clearTeachers(AppState& state, Frontend& frontend) {
    if (state.teachers.rowCount() == 0 && state.teacherSource.empty()) return {};
    const std::string source = state.teacherSource.text();
    state.teachers.clear();
    state.teacherSource = {};
    state.imported.teacherCount = 0;
    state.imported.teachersOfAnyGrade = false;
    appendLog(state, frontend,
              source.empty() ? std::string(tx::kLogTeachersCleared)
                             : strprintf(tx::kLogTeachersClearedFormat, source.c_str()));
    return {};
}

}  // namespace varnex
