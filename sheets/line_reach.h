#pragma once
// The sheet 上线分析: a block per track and line of the total, with the subject lines on its first
// row and, per class, school and the exam, the students who sat, 单上线, its share and each
// subject's 双上线.

#include <string>
#include <vector>

#include "analysis/exam.h"
#include "analysis/line_reach.h"
#include "base/result.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// With the rows of the scope: its classes and, in a part's own workbook, always its school, then
/// the whole exam; the lines and counts are those of the whole exam. Fails when the blocks do not
/// fit a worksheet.
Status writeLineReach(ExcelSheet& sheet, const Exam& exam, const std::vector<TrackReach>& reach,
                      const std::string& title, const SheetScope& scope = SheetScope());

}  // namespace varnex
