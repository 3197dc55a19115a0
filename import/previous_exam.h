#pragma once
// The exam before this one, for the progress reports: its workbook and worksheet are chosen on
// the 上次考试 line and read with the score import's own steps (header, other names, class names,
// the rule for missing scores) into a table of its own; the current import stays as it is.

#include <string>

#include "app/app_state.h"
#include "app/frontend.h"
#include "base/result.h"
#include "import/open_workbook.h"
#include "import/student_import.h"

namespace varnex {

/// Lists the worksheets of the previous exam's workbook at `path` into state.previous.workbook,
/// selecting the sheet named like the imported score sheet, else the first. The failure, after the
/// message, when the file cannot be opened; the previous choice then stays.
Result<OpenOutcome> openPreviousWorkbook(AppState& state, Frontend& frontend, const std::string& path);

/// Reads the selected worksheet of the previous exam's workbook into state.previous. The failure,
/// after the message (which names the file), when it cannot be read; state.previous then stays as
/// it was.
Result<ImportOutcome> importPreviousExam(AppState& state, Frontend& frontend);

}  // namespace varnex
