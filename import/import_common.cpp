#include "import/import_common.h"

#include "app/status_log.h"
#include "base/text_util.h"
#include "import/import_texts.h"

namespace varnex {

namespace t = importtext;

std::string importTitle(const AppState& state, const char* stateText) {
    return strprintf(t::kWindowTitleFormat, t::kProgramName, state.workbook.title.c_str(), t::kFullColon,
                     state.imported.sheetName.c_str(), stateText);
}

bool worksheetSelected(const AppState& state, Frontend& frontend) {
    // The worksheet box shows no text when no entry is selected.
    const int selected = state.workbook.selectedSheet;
    if (selected >= 0 && selected < static_cast<int>(state.workbook.sheetNames.size())) return true;
    frontend.showMessage(t::kNoWorksheet, t::kCaptionError, MessageIcon::Error);
    return false;
}

bool openImportQuery(SheetQuery& query, const AppState& state, Frontend& frontend,
                     const std::vector<std::string>& columns,
                     const std::vector<std::string>& furtherColumns) {
    if (Status opened = query.open(state.workbook.path); !opened) {
        frontend.showMessage(std::string(t::kOpenFailed) + opened.error(), t::kCaptionError,
                             MessageIcon::Error);
        frontend.setTitle(importTitle(state, t::kTitleOpenFailed));
        query.close();
        return false;
    }
    if (Status selected = query.select(state.imported.sheetName, columns); !selected) {
        std::string further;
        for (const auto& name : furtherColumns) further += std::string(t::kColumnSeparator) + name;
        frontend.showMessage(strprintf(t::kSelectFailedFormat, t::kSelectFailed, selected.error().c_str(),
                                       t::kCheckHeader, t::kFixedColumns, further.c_str()),
                             t::kCaptionError, MessageIcon::Error);
        frontend.setTitle(importTitle(state, t::kTitleSelectFailed));
        query.close();
        return false;
    }
    return true;
}

Status checkSchoolAndKey(const std::string& school, const char* keyColumn, const std::string& key,
                         int count) {
    if (school.empty()) return fail(strprintf(t::kEmptyWithCountFormat, t::kSchool, t::kSchoolEmpty, count));
    if (school == t::kAllSchools) return fail(strprintf(t::kSchoolAllFormat, t::kSchool, t::kSchoolAll));
    if (key.empty()) return fail(strprintf(t::kEmptyWithCountFormat, keyColumn, t::kCellEmpty, count));
    return {};
}

void reportRowProblem(AppState& state, Frontend& frontend, const std::string& problem) {
    appendLog(state, frontend, problem);
    frontend.showMessage(problem, t::kCaptionError, MessageIcon::Error);
}

bool moveToNextRow(SheetQuery& query, AppState& state, Frontend& frontend) {
    Status moved = query.next();
    if (!moved) reportRowProblem(state, frontend, std::string(t::kRowUnreadable) + moved.error());
    return moved.ok();
}

}  // namespace varnex
