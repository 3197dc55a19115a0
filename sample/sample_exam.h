#pragma once
// Realistic filled-in exam workbooks: a teacher sheet in the template layout and a score sheet of
// one grade, with Chinese school and person names and plausible scores. Deterministic for a seed.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "workbook/excel_session.h"

namespace varnex {

struct SampleOptions {
    int gradeIndex = 6;  ///< index into kGradeNames (七年级)
    int schools = 3;
    int classesPerSchool = 4;
    int studentsPerClass = 40;
    uint32_t seed = 2026;
    /// With a 数学 paper: a sheet of its question scores as marking platforms export them (see
    /// sampleQuestionMarks), before the explanation sheet.
    bool questionSheet = false;
};

/// What a generated sample holds.
struct SampleSummary {
    std::string teacherSheet;   ///< "教师任课表"
    std::string scoreSheet;     ///< the grade's name
    std::string questionSheet;  ///< "数学小题" when one was written
    int schools = 0;
    int classes = 0;
    int students = 0;
};

/// Builds the sample into a new workbook of the session (two sheets: teachers, then scores). In 高二
/// and 高三 the students choose as in 3+1+2: a 选科 column after 班级 holds each one's combination
/// (物化生, 史政地 …), the subjects not taken are blank, each school's first half of the classes is
/// of the 物理类 and the rest of the 历史类, and the teacher sheet names teachers only for the
/// subjects some student of a class takes.
SampleSummary buildSampleExam(ExcelSession& session, const SampleOptions& options);

/// Builds an earlier exam of the students of a score sheet (`rows`, its header first, as read) into
/// a new workbook of the session, one sheet named `sheetName`: the same columns, every score moved
/// a little, a few students who had not come yet (absent from it), two who have left since (only
/// in it), and in the first school a few students of class 1 and 2 in each other's class (unless
/// those classes are of different tracks). Each student keeps their 选科 and blanks. Scores are
/// out of the sample's full marks of the grade. Deterministic for a seed; the number of students.
int buildEarlierExam(ExcelSession& session, const std::vector<std::vector<std::string>>& rows,
                     const std::string& sheetName, int gradeIndex, uint32_t seed);

/// The questions of the sample's 数学 question sheet and their full marks, 120 in all: 1 … 16 of 5
/// points, then 17(1), 17(2) … 23(1), 23(2), of 3 points but the last two of 2.
std::vector<std::pair<std::string, int>> sampleQuestionMarks();

/// The name of the i-th generated school (0-based).
std::string sampleSchoolName(int index);

}  // namespace varnex
