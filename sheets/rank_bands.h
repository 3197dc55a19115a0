#pragma once
// 总分名次段: per school, how many students hold a grade-wide rank by total in each band of ten
// places, and how many up to the band's end.

#include <string>

#include "analysis/exam.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Fills the rank-band sheet it is handed (already taken, activated and named).
void writeRankBands(ExcelSheet& sheet, const Exam& exam, const std::string& title);

}  // namespace varnex
