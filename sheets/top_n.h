#pragma once
// 总分前N名: the grade's best students by total across all schools, every student whose total is
// among the N highest distinct totals.

#include <string>

#include "app/app_state.h"
#include "automation/excel_session.h"

namespace varnex {

/// Fills the top-N sheet it is handed (already taken, activated and named) and leaves the listed
/// students at the bottom of the StudentTable in listing order.
void writeTopN(ExcelSheet& sheet, AppState& state, const std::string& title);

}  // namespace varnex
