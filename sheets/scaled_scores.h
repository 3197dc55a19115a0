#pragma once
// The sheet 赋分: per student the school, class and name, and per scaled subject the raw score,
// the grade and the scaled score; its note says by which rule, and that the scaled scores are an
// estimate over this exam's students.

#include <string>

#include "analysis/exam.h"
#include "analysis/scaled_scores.h"
#include "base/result.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// The note under the title: the rule with its grades, and what the scaled scores are worth.
std::string scaledScoresNote(const ScaleRule& rule);

/// One row per student of the scope, in the exam's order, with the grades and scaled scores worked
/// out over the whole exam; fails when they do not fit a worksheet.
Status writeScaledScores(ExcelSheet& sheet, const Exam& exam, const ScaledScores& scaled,
                         const std::string& title, const SheetScope& scope = SheetScope());

}  // namespace varnex
