#pragma once
// Two exams of the same students side by side: which student of this exam is which of the
// previous one, and each student's place in the grade in both. Matching and ranking are a hash
// pass and a sort, so a grade of any size takes O(N log N).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "analysis/exam.h"
#include "analysis/places.h"
#include "analysis/student_total.h"
#include "app/app_state.h"
#include "app/row_table.h"

namespace varnex {

/// One exam's student table with the student number columns its sheet had.
struct ExamStudents {
    const RowTable& students;
    std::array<bool, 2> idColumns{};
};

/// How the students of the two exams were paired.
struct StudentMatch {
    /// Per row of this exam, the row of the previous exam that is the same student, or -1.
    std::vector<int> previousOf;
    /// The kind of student number both sheets had and matched by (index into kStudentIdColumns),
    /// or -1 when matched by school, class and name (and school and name for the rest).
    int idKind = -1;
    int matched = 0;
    std::vector<int> onlyCurrent;        ///< rows of this exam without a student in the previous one
    std::vector<int> onlyPrevious;       ///< rows of the previous exam without one in this exam
    std::vector<int> ambiguousCurrent;   ///< rows whose number or name fits several students
    std::vector<int> ambiguousPrevious;  ///< the same in the previous exam
};

/// Pairs the students: by 考号 (else 学号) when both sheets have that column, else by school, class
/// and name, and then by school and name among the students left (classes reshuffled). A key that
/// fits more than one student on either side pairs nobody: those students are ambiguous.
StudentMatch matchStudents(const ExamStudents& current, const ExamStudents& previous);

/// The students of those rows as the completion note names them (school（class）班name), at most
/// `listed`, then how many more.
std::string studentNames(const RowTable& students, const std::vector<int>& rows, size_t listed);

/// The place of every student in the grade by total, by `rule`; 0 for a student without a total,
/// who is not ranked.
std::vector<int> gradePlaces(const std::vector<std::optional<double>>& totals, TieRule rule);

/// The places by `rule` within each group (`groups`: per student its group, -1 for none, who is
/// not placed, like a student without a total).
std::vector<int> placesWithinGroups(const std::vector<std::optional<double>>& totals,
                                    const std::vector<int>& groups, TieRule rule);

/// The lines of the completion note: how many were paired and by what, who is in one exam only
/// and whose name fits several students (at most `listed` names each, then how many more).
std::string matchNote(const StudentMatch& match, const RowTable& current, const RowTable& previous,
                      size_t listed = 20);

/// The exam's students paired with the previous exam's, the grade places of both and the
/// completion note; rows of this exam are indices in its students.
struct ProgressPairing {
    StudentMatch match;
    std::vector<int> currentPlaces;
    std::vector<int> previousPlaces;
    std::string note;
};

/// Pairs the exam with its previous exam; each exam's totals are judged by its own settings and the
/// exam's rule for blank scores, and both exams' places follow the exam's 名次方式. With the exam's
/// tracks (按科类分别统计) the places are counted within each track, in the previous exam too: by
/// the tracks its own sheet names, else by those of the students paired with it.
ProgressPairing pairWithPrevious(const Exam& exam);

}  // namespace varnex
