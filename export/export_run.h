#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/frontend.h"
#include "automation/workbook_model.h"

namespace varnex {

/// What one export left behind, for tests and benchmarks that look past the frontend.
struct ExportOutcome {
    bool completed = false;  ///< the workbook was saved and the completion reported
    int sheetCount = 0;      ///< n, the sheets the run needed
    int addedSheets = 0;     ///< sheets added to the new three-sheet workbook
    std::string savedPath;
    /// The workbook built, whenever the run got as far as creating it (also when it was aborted).
    std::optional<WorkbookModel> workbook;
    /// Set to false before the run to have the cells released as they are written, as a run
    /// without an outcome does (the workbook then keeps its sheets' names and layout only).
    bool keepCells = true;
    /// Processor milliseconds spent per sheet family in production order, the save last.
    std::vector<std::pair<std::string, double>> timings;
};

/// The export: validates, confirms, writes every chosen sheet and the contents sheet, saves the
/// result workbook and reports through the frontend. `outcome`, when given, receives the details.
void exportRun(AppState& state, Frontend& frontend, ExportOutcome* outcome = nullptr);

}  // namespace varnex
