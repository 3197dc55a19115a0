#pragma once
// Opening a workbook: checks the file, lists its worksheets and enables the imports.

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frontend.h"

namespace varnex {

/// Opens the workbook at `path` and reports every outcome through the frontend.
void openWorkbook(AppState& state, Frontend& frontend, const std::string& path);

/// The same with a given list of installed reader descriptions (tests reach the messages of a
/// machine without a reader through it).
void openWorkbook(AppState& state, Frontend& frontend, const std::string& path,
                  const std::vector<std::string>& installedReaders);

/// Sets the window title for the selected worksheet: "Varnex - <title>：<sheet>".
void showSheetTitle(const AppState& state, Frontend& frontend);

}  // namespace varnex
