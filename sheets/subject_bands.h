#pragma once
// 各科分数段: the ten-point bands of 总分分数段 repeated for every examined subject on one sheet,
// one block of rows per subject, with per-school and all-school counts.

#include <string>

#include "analysis/exam.h"
#include "base/result.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Fills the subject-band sheet it is handed (already taken, activated and named). Fails, writing
/// nothing, when the subjects' blocks of bands need more rows than a worksheet has.
Status writeSubjectBands(ExcelSheet& sheet, const Exam& exam, const std::string& title);

}  // namespace varnex
