#include "import/previous_exam.h"

#include "app/null_frontend.h"
#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "import/import_texts.h"
#include "import/open_workbook.h"
#include "import/student_import.h"

namespace varnex {

namespace tx = import_texts;

namespace {

// Runs an import step on a state of its own: questions about the current settings were answered
// with the current import and are taken as Yes, failures reach the person with the previous
// file's name in front, the school of a sheet without 学校 column is asked of the person, and the
// window's title, log, buttons, clipboard and sound stay as they are.
class PreviousExamFrontend : public NullFrontend {
  public:
    PreviousExamFrontend(Frontend& frontend, std::string fileName)
        : frontend_(frontend), fileName_(std::move(fileName)) {}

    /// A failure of the step as the person was told it, with the file's name in front.
    Error named(const Error& failure) const { return fail(failure.kind, withFileName(failure.message)); }

    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
        if (icon == MessageIcon::Information) return;
        frontend_.showMessage(withFileName(text), caption, icon);
    }
    std::optional<std::string> askText(const std::string& prompt, const std::string& caption,
                                       const std::string& initial) override {
        return frontend_.askText(prompt, caption, initial);
    }

  private:
    std::string withFileName(const std::string& text) const {
        return strprintf(tx::kPreviousFailedFormat, fileName_.c_str(), text.c_str());
    }

    Frontend& frontend_;
    std::string fileName_;
};

// The failure of a step, also in the log (a question answered No or cancelled is none).
Error logged(AppState& state, Frontend& frontend, Error failure) {
    if (failure.kind != ErrorKind::Cancelled) appendLog(state, frontend, failure.message);
    return failure;
}

}  // namespace

Result<OpenOutcome> openPreviousWorkbook(AppState& state, Frontend& frontend, const std::string& path) {
    AppState opened;
    PreviousExamFrontend quiet(frontend, fileNameOf(path));
    Result<OpenOutcome> outcome = openWorkbook(opened, quiet, path);
    if (!outcome) return logged(state, frontend, quiet.named(outcome.failure()));
    WorkbookState& workbook = state.previous.workbook;
    workbook = std::move(opened.workbook);
    workbook.selectedSheet = 0;
    for (size_t i = 0; i < workbook.sheetNames.size(); ++i) {
        if (workbook.sheetNames[i] == state.imported.sheetName) workbook.selectedSheet = static_cast<int>(i);
    }
    appendLog(state, frontend, strprintf(tx::kPreviousOpenedFormat, path.c_str()));
    return outcome;
}

Result<ImportOutcome> importPreviousExam(AppState& state, Frontend& frontend) {
    AppState read;
    read.scores = state.scores;
    read.importOptions = state.importOptions;
    read.gradeIndex = state.gradeIndex;
    read.schoolName = state.schoolName;
    read.workbook = state.previous.workbook;
    const std::string fileName = fileNameOf(read.workbook.path);
    PreviousExamFrontend quiet(frontend, fileName);
    Result<ImportOutcome> imported = importStudents(read, quiet);
    if (!imported) return logged(state, frontend, quiet.named(imported.failure()));
    ImportResults& r = read.imported;
    if (!r.idProblem.empty()) {
        quiet.showMessage(r.idProblem, common_texts::kCaptionError, MessageIcon::Error);
        return logged(state, frontend, quiet.named(fail(ErrorKind::BadInput, r.idProblem)));
    }
    // Every student skipped for missing scores: nothing to pair with, and the previous exam read
    // before stays (nothing is shown, as before).
    if (read.students.rowCount() == 0) return quiet.named(fail(ErrorKind::BadInput, tx::kNoScoreRows));

    PreviousExam& previous = state.previous;
    previous.sheetName = r.sheetName;
    previous.students = std::move(read.students);
    previous.examSubjects = r.examSubjects;
    previous.scores = read.scores;
    for (const std::string& subject : r.subjectsNotInSheet) {
        if (int i = subjectIndex(subject); i >= 0) previous.scores.fullMark[static_cast<size_t>(i)] = 0;
    }
    // The extra subjects it is counted in are those the export counts this time (its own
    // settings of them are not kept).
    previous.scores.extra.clear();
    previous.extraColumns = r.extraColumns;
    previous.idColumns = r.idColumns;
    state.schoolName = read.schoolName;
    appendLog(state, frontend,
              strprintf(tx::kPreviousSummaryFormat, fileName.c_str(), r.sheetName.c_str(),
                        static_cast<int>(r.schoolList.size()), r.classCount,
                        static_cast<int>(r.examSubjects.size()), r.studentCount));
    return imported;
}

}  // namespace varnex
