#pragma once
// The sheets 学生进退步 and 班级进退步: this exam against the previous one, per student and per
// class.

#include <string>
#include <vector>

#include "analysis/exam.h"
#include "analysis/progress_figures.h"
#include "base/result.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// 学生进退步: per paired student 学校, 班级, 姓名, 本次总分, 本次名次, 上次总分, 上次名次, 名次变化,
/// in the order of `students` (with the exam's tracks, 科类 after 姓名 and the places within each
/// track); fails when they do not fit a worksheet.
Status writeStudentProgress(ExcelSheet& sheet, const Exam& exam, const std::vector<StudentProgress>& students,
                            const std::string& title);

/// 学生进退步 under 不公布名次: per paired student 学校, 班级, 姓名, 本次总分, 本次等级, 上次总分,
/// 上次等级, 等级变化 (the total's levels by `cuts`), in the order of `students`; fails when they do
/// not fit a worksheet.
Status writeStudentLevelProgress(ExcelSheet& sheet, const Exam& exam, const LevelCuts& cuts,
                                 const std::vector<StudentLevelProgress>& students, const std::string& title);

/// 班级进退步: per class and per column of the table, 平均分, 优秀率 and 及格率 this time and last
/// time with their change and the class's places among the grade's classes.
/// A part of the exam shows its own classes, with their places among all the grade's classes.
void writeClassProgress(ExcelSheet& sheet, const Exam& exam, const ClassProgressTable& table,
                        const std::string& title, const SheetScope& scope = SheetScope());

}  // namespace varnex
