#pragma once
// The sheet 临界生: per class, the students whose total lies within a band below or above the
// total's excellence line or pass line, with the subject that holds them back most.

#include <string>

#include "app/app_state.h"
#include "automation/excel_session.h"
#include "base/result.h"

namespace varnex {

/// Columns 学校, 班级, 姓名, 总分, 临界线, 分数线, 差 (total − line), 最弱学科; classes in ClassList
/// order, the excellence line before the pass line, higher totals first. A student near both lines
/// has a row for each.
Status writeNearLine(ExcelSheet& sheet, const AppState& state, const std::string& title);

}  // namespace varnex
