#include "export/template_generator.h"

#include <exception>
#include <string>
#include <vector>

#include "app/spreadsheet_driver.h"
#include "app/status_log.h"
#include "app/subjects.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "export/template_texts.h"
#include "sheets/print_layout.h"
#include "sheets/sheet_texts.h"
#include "workbook/excel_session.h"
#include "workbook/workbook_file.h"

namespace varnex {

namespace tx = template_texts;

namespace {

constexpr int kTeacherSheetPosition = 13;
constexpr int kTeacherColumns = 3 + kSubjectCount;  // A to N
constexpr int kGradeSampleRows = 2;                 // rows 2 and 3

/// The subjects of a grade's score sheet: those with a seeded full mark, in subject order.
std::vector<std::string> gradeSubjects(int grade) {
    std::vector<std::string> subjects;
    for (int s = 0; s < kSubjectCount; ++s) {
        if (kGradeSeedFullMarks[static_cast<size_t>(grade)][static_cast<size_t>(s)] > 0) {
            subjects.emplace_back(kSubjects[static_cast<size_t>(s)].name);
        }
    }
    return subjects;
}

/// The cell pattern: box, centre, width and value, each only when asked for, in this order.
struct CellWrite {
    bool box = false;
    bool centre = false;
    int width = 0;  ///< 0: no width
    const char* value = nullptr;
};

void writeCell(ExcelSheet& sheet, int column, int row, const CellWrite& w) {
    ExcelRange range = sheet.Range(row - 1, column);
    if (w.box) range.BorderAround();
    if (w.centre) range.SetHorizontalAlignment(HAlign::Center);
    if (w.width > 0) range.SetColumnWidth(w.width);
    if (w.value != nullptr) range.SetValue(w.value);
}

void writeTeacherSheet(ExcelSession& session) {
    ExcelSheet sheet = session.Sheet(kTeacherSheetPosition);
    sheet.Activate();
    sheet.SetName(tx::kTeacherSheet);
    for (int column = 0; column < kTeacherColumns; ++column) {
        for (int row = 2; row <= 1 + kGradeCount; ++row) {
            writeCell(sheet, column, row, {true, true, 0, column == 2 ? tx::kSampleClass : nullptr});
        }
    }
    for (int grade = 0; grade < kGradeCount; ++grade) {
        writeCell(sheet, 1, 2 + grade, {false, false, 0, kGradeNames[static_cast<size_t>(grade)]});
    }
    std::vector<const char*> header(std::begin(tx::kTeacherHeadBefore), std::end(tx::kTeacherHeadBefore));
    for (const Subject& s : kSubjects) header.push_back(s.name);
    for (int column = 0; column < kTeacherColumns; ++column) {
        const int width = column == 2 ? 5 : 9;
        writeCell(sheet, column, 1, {true, true, width, header[static_cast<size_t>(column)]});
    }
    layOutTemplateSheet(sheet);
    sheet.SetVisible(1);
}

void writeGradeSheet(ExcelSession& session, int grade) {
    ExcelSheet sheet = session.Sheet(grade + 1);
    sheet.Activate();
    sheet.SetName(kGradeNames[static_cast<size_t>(grade)]);
    writeCell(sheet, 0, 2, {true, true, 0, "1"});
    writeCell(sheet, 0, 3, {true, true, 0, "2"});

    const std::vector<std::string> subjects = gradeSubjects(grade);
    std::vector<const char*> header(std::begin(tx::kGradeHeadBefore), std::end(tx::kGradeHeadBefore));
    for (const auto& s : subjects) header.push_back(s.c_str());
    header.insert(header.end(), std::begin(tx::kGradeHeadAfter), std::end(tx::kGradeHeadAfter));
    const int columns = static_cast<int>(header.size());

    for (int column = 1; column < columns; ++column) {
        for (int row = 2; row < 2 + kGradeSampleRows; ++row)
            writeCell(sheet, column, row, {true, false, 0, nullptr});
    }
    for (int column = 0; column < columns; ++column) {
        writeCell(sheet, column, 1, {true, true, 5, header[static_cast<size_t>(column)]});
    }
    layOutTemplateSheet(sheet);
    sheet.SetVisible(1);
}

}  // namespace

void writeTemplateSheets(ExcelSession& session) {
    writeTeacherSheet(session);
    for (int grade = kGradeCount - 1; grade >= 0; --grade) writeGradeSheet(session, grade);
}

Result<TemplateOutcome> generateTemplates(AppState& state, Frontend& frontend) {
    return generateTemplates(state, frontend, builtInReaders());
}

Result<TemplateOutcome> generateTemplates(AppState& state, Frontend& frontend,
                                          const std::vector<std::string>& installedReaders) {
    const std::string examName = state.examNameText;
    if (examName.empty()) {
        frontend.showMessage(sheet_texts::kNoExamName, common_texts::kCaptionError, MessageIcon::Error);
        appendLog(state, frontend, sheet_texts::kNoExamName);
        frontend.focusField(Field::ExamName);
        return fail(sheet_texts::kNoExamName);
    }
    if (Status chosen = chooseSpreadsheetDriver(state.workbook.driverName, false, installedReaders);
        !chosen) {
        frontend.showMessage(chosen.error(), common_texts::kProgramName, MessageIcon::None);
        appendLog(state, frontend, chosen.error());
        return fail(ErrorKind::BadInput, chosen.error());
    }

    ExcelSession session;
    appendLog(state, frontend, tx::kLogGenerating + examName);
    frontend.setTitle(
        strprintf(tx::kTitleFormat, common_texts::kProgramName, examName.c_str(), tx::kTitleGenerating));

    try {
        session.AddWorkbook(OmittedArgument);
        session.AddSheets(10);
        writeTemplateSheets(session);
    } catch (const std::exception& e) {
        frontend.showMessage(e.what(), common_texts::kCaptionError, MessageIcon::Error);
        return fail(ErrorKind::Internal, e.what());
    }

    // Saved before anything reports completion, so that a failed save is never announced as done.
    const Result<std::string> saved =
        saveWorkbook(session.workbook(),
                     saveTargetFor(state.outputPath, state.overwriteOutput, documentsFolder(), examName));
    if (!saved) {
        frontend.showMessage(saved.error(), common_texts::kCaptionError, MessageIcon::Error);
        appendLog(state, frontend, saved.error());
        return saved.failure();
    }
    appendLog(state, frontend, tx::kLogSaved + *saved);

    frontend.setTitle(
        strprintf(tx::kTitleFormat, common_texts::kProgramName, examName.c_str(), tx::kTitleDone));
    const std::string shownPath = fullPathOf(*saved);
    std::string done = strprintf(tx::kDoneFormat, examName.c_str(), shownPath.c_str());
    if (frontend.setClipboardText(shownPath)) done += tx::kDonePathCopied;
    if (frontend.opensDocuments()) done += tx::kDoneOpening;
    frontend.showMessage(done, common_texts::kCaptionInfo, MessageIcon::Information);

    frontend.openDocument(*saved);
    frontend.minimiseWindow();
    return TemplateOutcome{*saved};
}

}  // namespace varnex
