#include "import/import_common.h"

#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "import/import_texts.h"

namespace varnex {

namespace tx = import_texts;

std::string importTitle(const AppState& state, const char* stateText) {
    return strprintf(common_texts::kSheetStateTitleFormat, common_texts::kProgramName,
                     state.workbook.title.c_str(), state.imported.sheetName.c_str(), stateText);
}

bool worksheetSelected(const AppState& state, Frontend& frontend) {
    // The worksheet box shows no text when no entry is selected.
    const int selected = state.workbook.selectedSheet;
    if (selected >= 0 && selected < static_cast<int>(state.workbook.sheetNames.size())) return true;
    frontend.showMessage(tx::kNoWorksheet, common_texts::kCaptionError, MessageIcon::Error);
    return false;
}

bool openImportQuery(SheetQuery& query, const AppState& state, Frontend& frontend,
                     const std::vector<std::string>& columns) {
    if (Status opened = query.open(state.workbook.path); !opened) {
        frontend.showMessage(std::string(tx::kOpenFailed) + opened.error(), common_texts::kCaptionError,
                             MessageIcon::Error);
        frontend.setTitle(importTitle(state, tx::kTitleOpenFailed));
        query.close();
        return false;
    }
    if (Status selected = query.select(state.imported.sheetName, columns); !selected) {
        std::string needed;
        for (const auto& name : columns) needed += (needed.empty() ? "" : tx::kColumnSeparator) + name;
        frontend.showMessage(strprintf(tx::kSelectFailedFormat, selected.error().c_str(), needed.c_str()),
                             common_texts::kCaptionError, MessageIcon::Error);
        frontend.setTitle(importTitle(state, tx::kTitleSelectFailed));
        query.close();
        return false;
    }
    return true;
}

Status checkSchoolAndKey(const std::string& school, const char* keyColumn, const std::string& key,
                         int count) {
    if (school.empty()) return fail(strprintf(tx::kSchoolEmptyFormat, count));
    if (school == tx::kAllSchools) return fail(tx::kSchoolAll);
    if (key.empty()) return fail(strprintf(tx::kCellEmptyFormat, keyColumn, count));
    return {};
}

void reportRowProblem(AppState& state, Frontend& frontend, const std::string& problem) {
    appendLog(state, frontend, problem);
    frontend.showMessage(problem, common_texts::kCaptionError, MessageIcon::Error);
}

bool moveToNextRow(SheetQuery& query, AppState& state, Frontend& frontend) {
    Status moved = query.next();
    if (!moved) reportRowProblem(state, frontend, std::string(tx::kRowUnreadable) + moved.error());
    return moved.ok();
}

}  // namespace varnex
