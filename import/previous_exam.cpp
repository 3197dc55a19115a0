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

    bool failed() const { return failed_; }

    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
        if (icon == MessageIcon::Information) return;
        failed_ = true;
        frontend_.showMessage(strprintf(tx::kPreviousFailedFormat, fileName_.c_str(), text.c_str()), caption,
                              icon);
    }
    std::optional<std::string> askText(const std::string& prompt, const std::string& caption,
                                       const std::string& initial) override {
        return frontend_.askText(prompt, caption, initial);
    }

  private:
    Frontend& frontend_;
    std::string fileName_;
    bool failed_ = false;
};

}  // namespace

bool openPreviousWorkbook(AppState& state, Frontend& frontend, const std::string& path) {
    AppState opened;
    PreviousExamFrontend quiet(frontend, fileNameOf(path));
    openWorkbook(opened, quiet, path);
    if (quiet.failed() || opened.workbook.sheetNames.empty()) return false;
    WorkbookState& workbook = state.previous.workbook;
    workbook = std::move(opened.workbook);
    workbook.selectedSheet = 0;
    for (size_t i = 0; i < workbook.sheetNames.size(); ++i) {
        if (workbook.sheetNames[i] == state.imported.sheetName) workbook.selectedSheet = static_cast<int>(i);
    }
    appendLog(state, frontend, strprintf(tx::kPreviousOpenedFormat, path.c_str()));
    return true;
}

bool importPreviousExam(AppState& state, Frontend& frontend) {
    AppState read;
    read.scores = state.scores;
    read.importOptions = state.importOptions;
    read.gradeIndex = state.gradeIndex;
    read.schoolName = state.schoolName;
    read.workbook = state.previous.workbook;
    const std::string fileName = fileNameOf(read.workbook.path);
    PreviousExamFrontend quiet(frontend, fileName);
    importStudents(read, quiet);
    if (quiet.failed()) return false;
    ImportResults& r = read.imported;
    if (!r.idProblem.empty()) {
        quiet.showMessage(r.idProblem, common_texts::kCaptionError, MessageIcon::Error);
        return false;
    }
    if (read.students.rowCount() == 0) return false;  // declined: nothing was read

    PreviousExam& previous = state.previous;
    previous.sheetName = r.sheetName;
    previous.students = std::move(read.students);
    previous.examSubjects = r.examSubjects;
    previous.scores = read.scores;
    for (const std::string& subject : r.subjectsNotInSheet) {
        if (int i = subjectIndex(subject); i >= 0) previous.scores.fullMark[static_cast<size_t>(i)] = 0;
    }
    previous.idColumns = r.idColumns;
    state.schoolName = read.schoolName;
    appendLog(state, frontend,
              strprintf(tx::kPreviousSummaryFormat, fileName.c_str(), r.sheetName.c_str(),
                        static_cast<int>(r.schoolList.size()), r.classCount,
                        static_cast<int>(r.examSubjects.size()), r.studentCount));
    return true;
}

}  // namespace varnex
