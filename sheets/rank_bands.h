#pragma once
// 总分名次段: per school, how many students hold a grade-wide rank by total in each band of ten
// places, and how many up to the band's end.

#include <string>

#include "analysis/bands.h"
#include "analysis/exam.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Fills the rank-band sheet it is handed (already taken, activated and named).
void writeRankBands(ExcelSheet& sheet, const Exam& exam, const std::string& title);
/// The same from counts made before, with the columns of the scope's school and, in a part's own
/// workbook, the whole exam's; a part's own workbook lists only the bands holding its school's
/// students.
void writeScopedRankBands(ExcelSheet& sheet, const Exam& exam, const BandTable& counts,
                          const std::string& title, const SheetScope& scope);

}  // namespace varnex
