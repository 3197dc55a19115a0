#pragma once
// The sheet 临界生: per class, the students whose total lies within a band below or above the
// total's excellence line or pass line, with the subject that holds them back most.

#include <string>

#include "analysis/exam.h"
#include "analysis/near_line.h"
#include "base/result.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Columns 学校, 班级, 姓名, 总分, 临界线, 分数线, 差 (total − line), 最弱学科, one row per student
/// and line in the order of `near`; fails when they do not fit a worksheet.
Status writeNearLine(ExcelSheet& sheet, const Exam& exam, const NearLineStudents& near,
                     const std::string& title);

}  // namespace varnex
