#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/frontend.h"
#include "base/result.h"
#include "workbook/workbook_model.h"

namespace varnex {

/// What a completed export produced.
struct ExportOutcome {
    std::string savedPath;
    int sheetCount = 0;   ///< n, the sheets the run needed
    int addedSheets = 0;  ///< sheets added to the new three-sheet workbook
    /// Processor milliseconds spent per sheet family in production order, the save last.
    std::vector<std::pair<std::string, double>> timings;
    /// 分别导出: the folder of the schools' or classes' own workbooks and how many it holds.
    std::string splitFolder;
    int splitFiles = 0;
};

/// What tests and benchmarks ask of a run beyond what the commands need.
struct ExportRequest {
    /// Keeps the cells in the workbook handed back; by default they are released as they are
    /// written, so that the model and the file writer never both hold them all.
    bool keepCells = false;
    /// When given, receives the workbook built whenever the run got as far as creating it, also
    /// when it stopped after that (its sheets' names and layout only, unless the cells are kept).
    std::optional<WorkbookModel>* workbook = nullptr;
};

/// The export: validates, confirms, writes every chosen sheet and the contents sheet, saves the
/// result workbook and reports through the frontend; returns what it produced, or the failure it
/// showed (Cancelled when the confirmation was answered No).
Result<ExportOutcome> exportRun(AppState& state, Frontend& frontend, const ExportRequest& request = {});

}  // namespace varnex
