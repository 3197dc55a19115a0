#pragma once
// Opening a workbook: checks the file, lists its worksheets and enables the imports.

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frontend.h"
#include "base/result.h"

namespace varnex {

/// What opening a workbook found.
struct OpenOutcome {
    std::string title;                    ///< the file name without its extension
    std::vector<std::string> sheetNames;  ///< its worksheets, from the left
};

/// Opens the workbook at `path` and reports every outcome through the frontend; returns what it
/// found, or the failure it showed (FileRefused for a file that cannot be read).
Result<OpenOutcome> openWorkbook(AppState& state, Frontend& frontend, const std::string& path);

/// The same with a given list of installed reader descriptions (tests reach the messages of a
/// machine without a reader through it).
Result<OpenOutcome> openWorkbook(AppState& state, Frontend& frontend, const std::string& path,
                                 const std::vector<std::string>& installedReaders);

/// Sets the window title for the selected worksheet: "Varnex - <title>：<sheet>".
void showSheetTitle(const AppState& state, Frontend& frontend);

}  // namespace varnex
