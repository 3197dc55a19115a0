#pragma once
// 总分前N名: the grade's best students by total across all schools, every student whose total is
// among the N highest distinct totals.

#include <string>
#include <vector>

#include "analysis/exam.h"
#include "analysis/student_order.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Fills the top-N sheet it is handed (already taken, activated and named) with the listing.
void writeTopN(ExcelSheet& sheet, const Exam& exam, const std::vector<PlacedRow>& listing,
               const std::string& title);

}  // namespace varnex
