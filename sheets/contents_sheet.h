#pragma once
// 目录: one row per other sheet of the run, with its tab name and its title.

#include "sheets/sheet_plan.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Fills the contents sheet it is handed (already taken, activated and named).
void writeContentsSheet(ExcelSheet& sheet, const SheetPlan& plan);

}  // namespace varnex
