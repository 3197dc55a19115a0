#pragma once
// 学生标准分: each student's Z score and T score in every examined subject and the total, over the
// students of the whole exam counted in that subject (population standard deviation).

#include <optional>
#include <vector>

#include "analysis/exam.h"

namespace varnex {

/// The mean and the population standard deviation of one subject (or the total) over the exam.
struct ScoreSpread {
    int counted = 0;  ///< the students counted in the subject
    double mean = 0;
    double deviation = 0;  ///< divided by the number of students; 0 for one student
};

/// Every counted student's Z score per examined subject and the total.
class StandardScores {
  public:
    explicit StandardScores(const Exam& exam);

    /// Exam subjects + the total.
    size_t columnCount() const { return spreads_.size(); }
    const ScoreSpread& spread(size_t column) const { return spreads_[column]; }
    /// The student's Z score in column i (i == subjects().size() the total): none when the student
    /// is not counted in it (no score under the rule that leaves blank scores out, a "0" when
    /// zeros sit out) or every counted score is the same (standard deviation 0).
    std::optional<double> z(int student, size_t column) const;

  private:
    const Exam& exam_;
    bool zeroExcluded_ = false;
    std::vector<ScoreSpread> spreads_;
    bool counted(int student, size_t column) const;
};

/// T = 50 + 10 Z.
inline double tScore(double z) {
    return 50 + 10 * z;
}

}  // namespace varnex
