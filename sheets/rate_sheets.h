#pragma once
// The three-rate sheets. Each writer fills the sheet it is handed (already taken, activated and
// named by the export run) and returns; the run then makes the sheet visible.

#include <string>

#include "app/app_state.h"
#include "automation/excel_session.h"
#include "base/result.h"

namespace varnex {

/// Where 班级各科三率 puts its figures: the first row of block `block` (the exam subjects in order,
/// then the total), which has one row per ClassList entry; 平均分 is in column M
/// (rate_columns::kAverage) and the block's 总平均分 in column O (rate_columns::kBlockAverage).
int classRatesBlockFirstRow(int classCount, int block);

/// The blocks of 年级各科三率 that hold rates.
enum class GradeRateBlock { ExcellentRate, PassRate };
/// Where 年级各科三率 puts the row of a school (0-based SchoolList index) in a rate block; the
/// subjects' figures run from column D (kGradeRatesFirstFigureColumn) with the total after them.
/// With blank scores left out (`blankExcluded`) a block of 实考人数 comes first.
int gradeRatesRow(int schoolCount, GradeRateBlock block, int school, bool blankExcluded = false);
constexpr int kGradeRatesFirstFigureColumn = 3;

/// 年级各科三率: per school, whole-grade counting.
void writeGradeRates(ExcelSheet& sheet, const AppState& state, const std::string& title);
/// 班级各科三率: per class, with subject teachers, ranks, block averages and deviations.
void writeClassRates(ExcelSheet& sheet, const AppState& state, const std::string& title);
/// 教师个人三率: per teacher over all of the teacher's classes. Fails with "请先导入教师任课表！",
/// having written only the title and headers, when the TeacherTable holds no row of the grade for
/// any exam subject and school; the run then ends.
Status writeTeacherRates(ExcelSheet& sheet, const AppState& state, const std::string& title);

}  // namespace varnex
