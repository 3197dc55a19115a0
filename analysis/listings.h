#pragma once
// The listings of one run's ranking sheets. The top-N sheet lists the students along the exam's
// order and leaves the listed ones at the end of it; the class-ranking sheets list each class
// along the order that leaves (the later student first among equal totals) and leave the classes
// at the end in their turn. Each listing is taken only when its sheets are chosen. With 按科类分别统计
// (the exam's tracks) each listing runs track after track, its places counted within the track.

#include <vector>

#include "analysis/exam.h"
#include "analysis/student_order.h"

namespace varnex {

/// The listings and the orders they leave; rows are indices in the exam's students.
struct StudentListings {
    std::vector<PlacedRow> topN;  ///< empty unless top N is chosen
    std::vector<int> afterTopN;   ///< the order the top-N listing leaves (the exam's own without it)
    /// Per ClassList entry, listed along afterTopN; empty unless class ranking is chosen.
    std::vector<std::vector<PlacedRow>> classes;
    std::vector<int> afterClasses;  ///< the order the class listings leave
};

/// The listings of the ranking sheets the exam's options choose, placed by its 名次方式.
StudentListings listStudents(const Exam& exam);

}  // namespace varnex
