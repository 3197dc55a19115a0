#pragma once
// The students near a line of the total (临界生): per class, those whose total lies within a band
// below or above the total's excellence line or pass line, with the subject that holds them back
// most.

#include <cstddef>
#include <vector>

#include "analysis/exam.h"
#include "analysis/line_reach.h"
#include "analysis/student_total.h"

namespace varnex {

/// One student near one line; a student near both lines is listed for each.
struct NearLineStudent {
    int student = 0;        ///< index in the exam's students
    size_t classIndex = 0;  ///< ClassList entry
    bool passLine = false;  ///< near the pass line, else near the excellence line
    long long total = 0;    ///< the total in thousandths of a point
    long long line = 0;     ///< the line in thousandths
    /// The examined subject with the lowest score against its full mark (the first of equals; with
    /// blank scores left out, among the subjects sat), as an index into exam.subjects(); -1 for none.
    int weakestSubject = -1;
    /// With 临界线 上线: the line among those of the student's track (TrackReach::lines); else -1.
    int scoreLine = -1;
};

/// The students near a line and how the lines were set.
struct NearLineStudents {
    /// Classes in ClassList order, the excellence line before the pass line, higher totals first,
    /// then the exam's order.
    std::vector<NearLineStudent> students;
    int band = 0;           ///< points either side of a line
    bool ownLines = false;  ///< each total judged by the lines of the subjects its student sat
    TotalLines gradeLines;  ///< the grade's lines, when not ownLines
    /// With 临界线 上线 (and lines set): the students are near the 上线 lines of their track.
    bool byScoreLines = false;
    std::vector<TrackReach> reach;
};

/// The students of the exam near a line, by its options' band and blank-score rule: the total's
/// excellence and pass lines, or with 临界线 上线 the 上线 lines of each student's track.
NearLineStudents nearLineStudents(const Exam& exam);

}  // namespace varnex
