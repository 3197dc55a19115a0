#include "import/open_workbook.h"

#include <algorithm>
#include <filesystem>

#include "app/opened_files.h"
#include "app/spreadsheet_driver.h"
#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "readers/reader_messages.h"
#include "readers/workbook_reader.h"

namespace varnex {

namespace tx = reader_texts;

namespace {

// Shows and logs the error and returns it as the command's failure.
Error showError(AppState& state, Frontend& frontend, ErrorKind kind, const std::string& text,
                const char* caption = common_texts::kCaptionError) {
    frontend.showMessage(text, caption, MessageIcon::Error);
    appendLog(state, frontend, text);
    return fail(kind, text);
}

std::string progressTitle(const std::string& title, const char* what) {
    return strprintf(tx::kProgressTitleFormat, common_texts::kProgramName, title.c_str(), what);
}

// The worksheet names of the workbook at `path`; the workbook is closed again at once.
Result<std::vector<std::string>> worksheetNames(const std::string& path) {
    Result<std::unique_ptr<WorkbookReader>> reader = openWorkbookReader(path);
    if (!reader) return fail(reader.error());
    return (*reader)->sheetNames();
}

}  // namespace

void showSheetTitle(const AppState& state, Frontend& frontend) {
    frontend.setTitle(strprintf(common_texts::kSheetTitleFormat, common_texts::kProgramName,
                                state.workbook.title.c_str(), state.workbook.selectedSheetName().c_str()));
}

Result<OpenOutcome> openWorkbook(AppState& state, Frontend& frontend, const std::string& path) {
    return openWorkbook(state, frontend, path, builtInReaders());
}

Result<OpenOutcome> openWorkbook(AppState& state, Frontend& frontend, const std::string& path,
                                 const std::vector<std::string>& installedReaders) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) {
        return showError(state, frontend, ErrorKind::FileRefused,
                         strprintf(tx::kFileMissingFormat, path.c_str()));
    }
    // The path becomes the workbook's only once the file has passed every check below, so that
    // a refused file never stands behind the previous workbook's worksheet list.
    std::string fileName = fileNameOf(path);
    if (fileName.empty()) {
        return showError(state, frontend, ErrorKind::BadInput, tx::kEmptyFileName);
    }
    size_t dot = fileName.rfind('.');
    std::string extension = asciiLower(dot == std::string::npos ? fileName : fileName.substr(dot + 1));
    if (std::find(std::begin(kOpenedExtensions), std::end(kOpenedExtensions), extension) ==
        std::end(kOpenedExtensions)) {
        return showError(state, frontend, ErrorKind::FileRefused,
                         strprintf(tx::kWrongExtensionFormat, path.c_str()));
    }
    if (Status chosen =
            chooseSpreadsheetDriver(state.workbook.driverName, extension == "xlsx", installedReaders);
        !chosen) {
        frontend.showMessage(chosen.error(), common_texts::kProgramName, MessageIcon::None);
        appendLog(state, frontend, chosen.error());
        return fail(ErrorKind::FileRefused, chosen.error());
    }
    // The sheets are listed before anything shown changes: a file that cannot be read leaves the
    // previous workbook with its sheet list, the window title and the exam names as they were.
    Result<std::vector<std::string>> names = worksheetNames(path);
    if (!names) {
        return showError(state, frontend, ErrorKind::FileRefused, names.error(), tx::kUnrecognisedCaption);
    }
    if (names->empty()) {
        return showError(state, frontend, ErrorKind::FileRefused, tx::kNoWorksheet, tx::kUnrecognisedCaption);
    }

    std::string title = fileName.substr(0, dot);
    frontend.setTitle(progressTitle(title, tx::kPreparingToOpen));
    // The file's name is proposed as the exam's, also when the list has it already.
    if (std::find(state.examNames.begin(), state.examNames.end(), title) == state.examNames.end())
        state.examNames.push_back(title);
    state.examNameText = title;
    state.examNameProposal = title;
    frontend.setTitle(progressTitle(title, tx::kOpening));
    // A text file is refused above by its content, so a real workbook whose only sheet carries
    // the file's name (成绩.xlsx holding the sheet 成绩) is a workbook like any other.
    state.workbook.title = title;
    state.workbook.path = path;
    state.workbook.sheetNames = std::move(names).value();

    appendLog(state, frontend, std::string(tx::kOpenedLog) + path);
    frontend.setTitle(strprintf(tx::kOpenedTitleFormat, common_texts::kProgramName, title.c_str()));
    state.workbook.selectedSheet = 0;
    showSheetTitle(state, frontend);
    state.recentFiles.add(path);
    frontend.enableAction(Action::ImportStudents, true);
    frontend.enableAction(Action::ImportTeachers, true);
    frontend.playNotification();
    return OpenOutcome{title, state.workbook.sheetNames};
}

}  // namespace varnex
