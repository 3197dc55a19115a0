#pragma once
// 各科分数段: the ten-point bands of 总分分数段 repeated for every examined subject on one sheet,
// one block of rows per subject, with per-school and all-school counts.

#include <string>
#include <vector>

#include "analysis/bands.h"
#include "analysis/exam.h"
#include "base/result.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Fills the subject-band sheet it is handed (already taken, activated and named). Fails, writing
/// nothing, when the subjects' blocks of bands need more rows than a worksheet has.
Status writeSubjectBands(ExcelSheet& sheet, const Exam& exam, const std::string& title);
/// The counts of every examined subject's scores in its bands, subject by subject (none when the
/// blocks do not fit a worksheet).
std::vector<BandTable> subjectBandCounts(const Exam& exam);
/// The same from counts made before, with the columns of the scope's school and, in a part's own
/// workbook, the whole exam's.
Status writeScopedSubjectBands(ExcelSheet& sheet, const Exam& exam, const std::vector<BandTable>& counts,
                               const std::string& title, const SheetScope& scope);

}  // namespace varnex
