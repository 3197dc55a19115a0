#include "import/student_import.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <optional>
#include <unordered_set>

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

// The key columns of a score sheet, in the order of the header request.
enum Key : size_t { kSchoolKey, kClassKey, kNameKey };

// The query's fields, in the order of the selected columns: 班级, 姓名, the examined subjects, and
// 学校 last when the sheet has that column.
enum Field : size_t { kClassField, kNameField, kFirstSubjectField };

// How the rows of the sheet are read.
struct ScoreSheet {
    std::vector<size_t> examined;         ///< the subjects with a full mark that the sheet has
    std::vector<std::string> notInSheet;  ///< the subjects with a full mark that it has not
    std::string singleSchool;  ///< the school of every row of a sheet without 学校 column, else ""
    size_t schoolField = 0;    ///< the field of 学校 when the sheet has it
    uint32_t classColumn = 0;  ///< the sheet column of 班级, for messages
};

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

// The names joined with "、".
std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : tx::kNameSeparator) + name;
    return text;
}

std::string confirmationText(const AppState& state, const ScoreSheet& sheet) {
    std::string lines;
    for (size_t i : sheet.examined) {
        lines += strprintf(tx::kConfirmSubjectLineFormat, kSubjects[i].name, state.scores.fullMark[i]);
    }
    if (!sheet.notInSheet.empty())
        lines += strprintf(tx::kConfirmNotInSheetFormat, joined(sheet.notInSheet).c_str());
    return strprintf(tx::kStudentConfirmFormat, fileNameOf(state.workbook.path).c_str(),
                     state.imported.sheetName.c_str(), state.imported.gradeName.c_str(),
                     static_cast<int>(sheet.examined.size()), lines.c_str());
}

// The schools of the ClassList, each once, in order of first appearance: a school whose classes
// are not consecutive in the sheet is still one school.
std::vector<std::string> schoolsOf(const ClassList& classList) {
    std::vector<std::string> schools;
    std::unordered_set<std::string> seen;
    for (size_t i = 0; i < classList.size(); ++i) {
        std::string school = classList.parts(i).first;
        if (seen.insert(school).second) schools.push_back(std::move(school));
    }
    return schools;
}

// Brings the counts and the SchoolList in line with what the StudentTable and ClassList hold.
void refreshSummary(AppState& state) {
    state.imported.studentCount = state.students.rowCount();
    state.imported.classCount = static_cast<int>(state.imported.classList.size());
    state.imported.schoolList = schoolsOf(state.imported.classList);
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

bool shouldSkip(const AppState& state, const std::vector<std::string>& cells,
                const std::vector<size_t>& examined) {
    int rule = state.importOptions.missingRule;
    if (rule != 0 && rule != 1) return false;
    int missing = 0;
    for (size_t i : examined) {
        if (isMissing(cells[static_cast<size_t>(kSubjects[i].column)])) ++missing;
    }
    const int examinedCount = static_cast<int>(examined.size());
    return rule == 0 ? missing > examinedCount / 2 : missing > state.importOptions.missingLimit;
}

// The row checks; false (after the message, log line, focus and selection) when one fails.
// `klass` is the row's class or why it has none.
bool checkRow(AppState& state, Frontend& frontend, const std::vector<std::string>& cells,
              const Result<std::string>& klass, const std::vector<size_t>& examined) {
    const int count = state.imported.studentCount;
    if (Status checked = checkSchoolAndKey(cells[kSchoolCell], tx::kName, cells[kNameCell], count);
        !checked) {
        reportRowProblem(state, frontend, checked.error());
        return false;
    }
    if (!klass) {
        reportRowProblem(state, frontend, klass.error());
        return false;
    }
    for (size_t i : examined) {
        int fullMark = state.scores.fullMark[i];
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

LoopEnd readRows(AppState& state, Frontend& frontend, SheetQuery& query, const ScoreSheet& sheet) {
    const std::vector<size_t>& examined = sheet.examined;
    const bool singleSchool = !sheet.singleSchool.empty();
    while (!query.atEnd()) {
        std::vector<std::string> cells(kStudentCells);
        if (!singleSchool) cells[kSchoolCell] = query.field(sheet.schoolField);
        const std::string writtenClass = removeTrailingDotZero(query.field(kClassField));
        cells[kNameCell] = query.field(kNameField);
        bool allEmpty = cells[kSchoolCell].empty() && writtenClass.empty() && cells[kNameCell].empty();
        for (size_t k = 0; k < examined.size(); ++k) {
            std::string& slot = cells[static_cast<size_t>(kSubjects[examined[k]].column)];
            slot = removeTrailingDotZero(query.field(kFirstSubjectField + k));
            allEmpty = allEmpty && slot.empty();
        }
        if (allEmpty) return LoopEnd::EndOfData;
        if (singleSchool) cells[kSchoolCell] = sheet.singleSchool;
        Result<std::string> klass = classOfRow(state, writtenClass, query.sheetRow(), sheet.classColumn);
        if (klass) cells[kClassCell] = *klass;
        cells[kTotalColumn] = totalText(cells);

        if (!shouldSkip(state, cells, examined)) {
            state.students.appendRow(cells);
            ++state.imported.studentCount;
        }
        if (!checkRow(state, frontend, cells, klass, examined)) return LoopEnd::Stopped;
        state.imported.classList.add(cells[kSchoolCell], cells[kClassCell]);

        if (!moveToNextRow(query, state, frontend)) return LoopEnd::Stopped;
    }
    return LoopEnd::EndOfData;
}

void endOfData(AppState& state, Frontend& frontend, int examinedCount, const SheetHeader& header) {
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
    if (!header.notAnalysed.empty())
        appendLog(state, frontend, strprintf(tx::kLogNotAnalysedFormat, joined(header.notAnalysed).c_str()));
    frontend.setTitle(importTitle(state, tx::kImported));
    frontend.playNotification();
}

// What a score sheet's header must hold: 学校 (or a school given for the whole sheet), 班级, 姓名.
const HeaderRequest kScoreSheetRequest{{tx::kSchool, tx::kClass, tx::kName}, {tx::kClass, tx::kName}};

// The header texts a score sheet needs, as a message names them: 学校, 班级, 姓名 and ExamSubjects.
std::vector<std::string> neededColumns(const ImportResults& r) {
    std::vector<std::string> columns(kScoreSheetRequest.keys);
    columns.insert(columns.end(), r.examSubjects.begin(), r.examSubjects.end());
    return columns;
}

// Sets ExamSubjects and the total of their full marks.
void setExamSubjects(ImportResults& r, const ScoreSettings& scores, const std::vector<size_t>& examined) {
    long long fullMarkTotal = 0;
    r.examSubjects.clear();
    for (size_t i : examined) {
        r.examSubjects.emplace_back(kSubjects[i].name);
        fullMarkTotal += scores.fullMark[i];
    }
    r.examFullMarkTotal = static_cast<int>(std::clamp<long long>(fullMarkTotal, INT_MIN, INT_MAX));
}

// Checks that the header has the key columns and at least one of the subjects with a full mark
// (those it has are examined this time, the others not) and, for a sheet without 学校 column,
// asks for its school. Nothing (after the message) when the sheet cannot be imported.
std::optional<ScoreSheet> readableSheet(SheetQuery& query, AppState& state, Frontend& frontend,
                                        const SheetHeader& header, const std::vector<size_t>& withFullMark) {
    ScoreSheet sheet;
    for (size_t i : withFullMark) {
        if (header.subjects[i]) {
            sheet.examined.push_back(i);
        } else {
            sheet.notInSheet.emplace_back(kSubjects[i].name);
        }
    }
    std::vector<std::string> missing;
    for (size_t k = kSchoolKey; k <= kNameKey; ++k) {
        if (!header.keys[k]) missing.emplace_back(kScoreSheetRequest.keys[k]);
    }
    if (sheet.examined.empty()) {
        for (size_t i : withFullMark) missing.emplace_back(kSubjects[i].name);
    }
    if (missing.size() == 1 && missing.front() == tx::kSchool) {
        std::optional<std::string> school = askSchoolOfSheet(state, frontend);
        if (!school) {
            query.close();
            return std::nullopt;
        }
        sheet.singleSchool = *school;
    } else if (!missing.empty()) {
        reportSheetUnreadable(query, state, frontend, missingColumnsReason(state, missing),
                              neededColumns(state.imported));
        return std::nullopt;
    }
    sheet.classColumn = *header.keys[kClassKey];
    return sheet;
}

// Selects 班级, 姓名, the examined subjects and 学校 (when the sheet has it) below the header.
bool selectScoreColumns(SheetQuery& query, const AppState& state, Frontend& frontend,
                        const SheetHeader& header, ScoreSheet& sheet) {
    std::vector<uint32_t> columns{*header.keys[kClassKey], *header.keys[kNameKey]};
    for (size_t i : sheet.examined) columns.push_back(*header.subjects[i]);
    if (sheet.singleSchool.empty()) {
        sheet.schoolField = columns.size();
        columns.push_back(*header.keys[kSchoolKey]);
    }
    return selectImportColumns(query, state, frontend, columns, header, neededColumns(state.imported));
}

}  // namespace

void importStudents(AppState& state, Frontend& frontend) {
    ImportResults& r = state.imported;
    if (!worksheetSelected(state, frontend)) return;
    r.gradeName = state.gradeName();
    if (!confirmFullMarks(state, frontend)) return;

    std::vector<size_t> withFullMark;
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        if (state.scores.fullMark[i] != 0) withFullMark.push_back(i);
    }
    if (withFullMark.empty()) {
        frontend.showMessage(tx::kNoSubjects, common_texts::kCaptionError, MessageIcon::Error);
        return;
    }
    setExamSubjects(r, state.scores, withFullMark);
    r.subjectsNotInSheet.clear();

    r.sheetName = state.workbook.selectedSheetName();
    if (r.sheetName.empty()) {
        frontend.showMessage(tx::kEmptySheetName, common_texts::kCaptionError, MessageIcon::Error);
        return;
    }

    SheetQuery query;
    std::optional<SheetHeader> header =
        openImportSheet(query, state, frontend, kScoreSheetRequest, neededColumns(r));
    if (!header) return;
    std::optional<ScoreSheet> sheet = readableSheet(query, state, frontend, *header, withFullMark);
    if (!sheet) return;
    // The sheet decides which subjects were examined; the settings stay as they are.
    setExamSubjects(r, state.scores, sheet->examined);
    r.subjectsNotInSheet = sheet->notInSheet;
    if (!frontend.askYesNo(confirmationText(state, *sheet), common_texts::kCaptionConfirm)) return;

    frontend.setTitle(importTitle(state, tx::kImporting));
    if (!selectScoreColumns(query, state, frontend, *header, *sheet)) return;

    state.students.clear();
    r.classList.clear();
    if (query.atEnd()) {
        frontend.showMessage(tx::kNoScoreRows, common_texts::kCaptionError, MessageIcon::Error);
        refreshSummary(state);
    } else {
        appendLog(state, frontend, std::string(tx::kLogSheet) + r.sheetName);
        logHeader(state, frontend, *header, sheet->singleSchool);
        r.studentCount = 0;
        if (readRows(state, frontend, query, *sheet) == LoopEnd::EndOfData) {
            endOfData(state, frontend, static_cast<int>(sheet->examined.size()), *header);
        } else {
            refreshSummary(state);
        }
    }

    query.close();
    frontend.enableControl(ctl::ExportResults, true);
}

}  // namespace varnex
