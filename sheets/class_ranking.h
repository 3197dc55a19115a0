#pragma once
// 班级总分排名: the students of every class ranked by total, either one sheet per class or all
// classes one after another on one sheet. Under 不公布名次 each class is listed by name with each
// score's 等级 and no place.

#include <functional>
#include <string>
#include <vector>

#include "analysis/exam.h"
#include "analysis/levels.h"
#include "analysis/student_order.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Fills the sheet of one class (already taken, activated and named) with its listing: 序号, 姓名,
/// subjects, 总分, 名次 (with `levels`, each score followed by its 等级 and no 名次).
void writeClassSheet(ExcelSheet& sheet, const Exam& exam, const std::vector<PlacedRow>& listing,
                     const std::string& title, const ExamLevels* levels = nullptr);

/// Fills the one sheet of all classes (already taken, activated and named), class by class in
/// ClassList order (`listings` has one listing per entry; only the classes of `scope`); `logLine` receives
/// each class's "导出：" line before its rows are written.
void writeAllClassesSheet(ExcelSheet& sheet, const Exam& exam,
                          const std::vector<std::vector<PlacedRow>>& listings, const std::string& title,
                          const std::function<void(const std::string&)>& logLine,
                          const SheetScope& scope = SheetScope(), const ExamLevels* levels = nullptr);

}  // namespace varnex
