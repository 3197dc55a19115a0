#pragma once
// The sheets 学生进退步 and 班级进退步: this exam against the previous one, per student and per
// class, from one pairing of the students worked out once per run.

#include <string>
#include <vector>

#include "analysis/progress.h"
#include "app/app_state.h"
#include "automation/excel_session.h"
#include "base/result.h"

namespace varnex {

/// The pairing and the grade places of both exams, shared by the two sheets, and the completion
/// note. The rows are those of the StudentTable as it stands when the pairing is made (before the
/// ranking sheets reorder it), so the note is written at once.
struct ProgressData {
    StudentMatch match;
    std::vector<int> currentPlaces;
    std::vector<int> previousPlaces;
    std::string note;
};

ProgressData computeProgress(const AppState& state);

/// 学生进退步: per paired student 学校, 班级, 姓名, 本次总分, 本次名次, 上次总分, 上次名次, 名次变化,
/// ordered by school, class and 名次变化 (largest first).
Status writeStudentProgress(ExcelSheet& sheet, const AppState& state, const ProgressData& data,
                            const std::string& title);

/// 班级进退步: per class and per subject examined in both exams plus 总分, 平均分, 优秀率 and 及格率
/// this time and last time with their change and the class's places among the grade's classes.
void writeClassProgress(ExcelSheet& sheet, const AppState& state, const ProgressData& data,
                        const std::string& title);

}  // namespace varnex
