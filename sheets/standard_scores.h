#pragma once
// The sheet 学生标准分: every counted student with the Z score and T score of each examined subject
// and of the total, the way they are computed in a note under the title.

#include <string>

#include "analysis/exam.h"
#include "analysis/standard_scores.h"
#include "base/result.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Columns 学校, 班级, 姓名, then per subject and the total its Z (two decimals) and T (one
/// decimal) score, a row per student of `scope` in the order of the student table (the scores are
/// those over the whole exam); fails when they do not fit a worksheet.
Status writeStandardScores(ExcelSheet& sheet, const Exam& exam, const StandardScores& scores,
                           const std::string& title, const SheetScope& scope = SheetScope());

}  // namespace varnex
