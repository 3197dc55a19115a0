#pragma once
// The sheet 等级分布: per subject and the total, the number and share of students at each level in
// every class, every school (with two schools or more) and the whole exam.

#include <string>

#include "analysis/exam.h"
#include "analysis/levels.h"
#include "base/result.h"
#include "sheets/figure_places.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// The note under the title that says how the levels were cut: "等级按分数线：A ≥ 90%，…".
std::string levelCutsNote(const LevelCuts& cuts);

/// Columns 学科, 学校, 班级, 人数, then per level its count and share; one block of rows per
/// subject and the total (its classes, its schools, 全体); fails when they do not fit a worksheet.
/// Where the total's shares are, for the chart. A part of the exam shows its own classes, its school
/// and 全体.
Result<LevelDistributionPlaces> writeLevelDistribution(ExcelSheet& sheet, const Exam& exam,
                                                       const LevelDistribution& levels,
                                                       const std::string& title,
                                                       const SheetScope& scope = SheetScope());

}  // namespace varnex
