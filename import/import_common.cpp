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

bool openImportQuery(SheetQuery& query, const AppState& state, Frontend& frontend,
                     const std::vector<std::string>& columns,
                     const std::vector<std::string>& furtherColumns) {
    std::string error;
    if (!query.open(state.workbook.path, error)) {
        frontend.showMessage(std::string(tx::kOpenFailed) + error, common_texts::kCaptionError,
                             MessageIcon::Error);
        frontend.setTitle(importTitle(state, tx::kTitleOpenFailed));
        query.close();
        return false;
    }
    if (!query.select(state.imported.sheetName, columns, error)) {
        std::string further;
        for (const auto& name : furtherColumns) further += std::string(tx::kColumnSeparator) + name;
        frontend.showMessage(strprintf(tx::kSelectFailedFormat, error.c_str(), further.c_str()),
                             common_texts::kCaptionError, MessageIcon::Error);
        frontend.setTitle(importTitle(state, tx::kTitleSelectFailed));
        query.close();
        return false;
    }
    return true;
}

void reportUnreadableRow(AppState& state, Frontend& frontend, const std::string& readerError) {
    std::string text = std::string(tx::kRowUnreadable) + readerError;
    appendLog(state, frontend, text);
    frontend.showMessage(text, common_texts::kCaptionError, MessageIcon::Error);
}

}  // namespace varnex
