#pragma once
// The three-rate sheets. Each writer lays the figures of the exam out on the sheet it is handed
// (already taken, activated and named by the export run) and returns; the run then makes the
// sheet visible.

#include <array>
#include <string>
#include <vector>

#include "analysis/exam.h"
#include "analysis/rates.h"
#include "base/result.h"
#include "sheets/figure_places.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// 年级各科三率: per school, whole-grade counting. Returns where the rates are.
GradeRatesPlaces writeGradeRates(ExcelSheet& sheet, const Exam& exam, const std::string& title);
/// The same from figures counted before, with the rows of the scope: a part's own workbook shows
/// its school's rows and a 全体 row of the whole exam, and the school's places among all schools
/// as numbers. 超均率 is set against `reference` (gradeReference), worked out here when not given.
GradeRatesPlaces writeScopedGradeRates(ExcelSheet& sheet, const Exam& exam,
                                       const std::vector<SchoolRates>& rates, const std::string& title,
                                       const SheetScope& scope,
                                       const std::vector<RateGroup>* reference = nullptr);
/// 班级各科三率: per class, with subject teachers, ranks, block averages and deviations. Returns
/// where the averages are.
ClassRatesPlaces writeClassRates(ExcelSheet& sheet, const Exam& exam, const std::string& title);
/// What the rank, 总平均分 and deviation formulas of 班级各科三率 work out over all the grade's
/// classes: per block (the exam subjects, then the total) the excellence rates, pass rates and
/// averages ranked; `rowOfEntry`: the position of each ClassList entry among them.
struct ClassRateRanks {
    std::vector<std::array<RankedFigures, 3>> blocks;
    std::vector<size_t> rowOfEntry;
    /// With 四率, per block the 良好率 and 低分率 ranked (低分率 from the lowest).
    std::vector<std::array<RankedFigures, 2>> added;
};
ClassRateRanks classRateRanks(const Exam& exam, const std::vector<ClassRates>& rates);
/// The same from figures counted before, with the classes of the scope only; their ranks among all
/// the grade's classes, the blocks' 总平均分 and the deviations are then numbers (from `ranks`,
/// worked out here when not given). 超均率 is set against `reference` (classReference), worked out
/// here when not given.
ClassRatesPlaces writeScopedClassRates(ExcelSheet& sheet, const Exam& exam,
                                       const std::vector<ClassRates>& rates, const std::string& title,
                                       const SheetScope& scope, const ClassRateRanks* ranks = nullptr,
                                       const ClassReference* reference = nullptr);
/// 教师个人三率: per teacher over all of the teacher's classes. Fails with "请先导入教师任课表！",
/// having written only the title and headers, when the teacher sheet holds no row of the grade for
/// any exam subject and school; the run then ends.
Status writeTeacherRates(ExcelSheet& sheet, const Exam& exam, const std::string& title);
/// The same from figures counted before; a part of the exam shows the teachers of its school (of
/// its class), with their ranks among all the subject's teachers, the block's 总平均分, the rates
/// and the deviations as numbers.
/// What the rate, rank, 总平均分 and deviation formulas of 教师个人三率 work out: per exam subject
/// the excellence rates, pass rates and averages of all its teachers in sheet order, ranked.
/// With 四率, per exam subject the 良好率 and 低分率 ranked (低分率 from the lowest).
struct TeacherRateRanks {
    std::vector<std::array<RankedFigures, 3>> subjects;
    std::vector<std::array<RankedFigures, 2>> added;
};
TeacherRateRanks teacherRateRanks(const Exam& exam, const TeacherRateTable& found);
/// 超均率 is set against `reference` (classReference), worked out here when not given.
Status writeScopedTeacherRates(ExcelSheet& sheet, const Exam& exam, const TeacherRateTable& found,
                               const std::string& title, const SheetScope& scope,
                               const TeacherRateRanks* ranks = nullptr,
                               const ClassReference* reference = nullptr);

}  // namespace varnex
