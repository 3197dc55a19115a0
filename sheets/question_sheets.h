#pragma once
// 小题分析-<subject>: per question the figures of the exam, each school and each class, with the
// class's distance from the exam's 得分率 coloured where it is 10 points or more below, and a chart
// of the 得分率 by question; 小题明细-<subject>: each student's score and loss per question.

#include <string>

#include "analysis/exam.h"
#include "analysis/questions.h"
#include "base/result.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Where a class lies this far below the exam's 得分率 (in points), its cell is coloured.
constexpr double kQuestionRateGapMarked = -10;

/// Writes the 小题分析 sheet of one subject with the blocks of the scope: the whole exam's, then of
/// a part of the exam its school's (always) and its classes', with the figures of the whole exam;
/// refused when it would need more rows than a sheet has.
Status writeQuestionAnalysis(ExcelSheet& sheet, const Exam& exam, const QuestionAnalysis& analysis,
                             const std::string& title, const SheetScope& scope = SheetScope());

/// Writes the 小题明细 sheet of one subject: the students of the scope paired with the question
/// sheet in the exam's order, their score and loss on each question and in all; refused when it
/// would need more rows than a sheet has.
Status writeQuestionDetail(ExcelSheet& sheet, const Exam& exam, const QuestionAnalysis& analysis,
                           const std::string& title, const SheetScope& scope = SheetScope());

}  // namespace varnex
