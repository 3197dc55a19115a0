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

void reportUnreadableRow(AppState& state, Frontend& frontend, const std::string& readerError) {
    std::string text = std::string(t::kRowUnreadable) + readerError;
    appendLog(state, frontend, text);
    frontend.showMessage(text, t::kCaptionError, MessageIcon::Error);
}

}  // namespace varnex
