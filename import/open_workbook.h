#pragma once
// Opening a workbook: checks the file, lists its worksheets and enables the imports.

#include <string>

#include "app/app_state.h"
#include "app/frontend.h"

namespace varnex {

/// Opens the workbook at `path` and reports every outcome through the frontend.
void openWorkbook(AppState& state, Frontend& frontend, const std::string& path);

}  // namespace varnex
