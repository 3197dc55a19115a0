#pragma once
// A student's total and the total's two lines as the progress and 临界生 reports judge them, by
// the exam's rule for blank scores: counted as 0, every total is judged against the grade's lines;
// left out, each student's total is judged against the lines of the subjects they sat, and a
// student without any score has no total.

#include <optional>
#include <string>
#include <vector>

#include "analysis/exam.h"
#include "analysis/three_rates.h"
#include "app/subjects.h"

namespace varnex {

/// The excellence and pass lines of the total, in thousandths of a point.
struct TotalLines {
    long long excellent = 0;
    long long pass = 0;
};

/// How one exam's totals are judged.
class TotalJudge {
  public:
    /// `scores` and `examSubjects` as the exam used them; `blankExcluded` the rule for blank scores;
    /// `extraColumns` the extra columns of its table.
    TotalJudge(const ScoreSettings& scores, const std::vector<std::string>& examSubjects, bool blankExcluded,
               const std::vector<std::string>& extraColumns = {});
    /// How the exam's own totals are judged.
    explicit TotalJudge(const Exam& exam);

    /// The total of a StudentTable row: the value of its 总分 cell; nothing when the cell is empty
    /// or, with blank scores left out, the student has no score (the student is not ranked).
    std::optional<double> totalOf(const RowTable::RowView& row) const;
    /// The same for a student of the exam the judge was made for, from its typed scores.
    std::optional<double> totalOf(const Exam& exam, int student) const;
    /// The lines the row's total is judged by.
    TotalLines linesOf(const RowTable::RowView& row) const;
    /// The grade's lines: the total excellence score and 60 % of the total full mark.
    const TotalLines& gradeLines() const { return grade_; }
    bool ownLines() const { return !shares_.empty(); }

  private:
    TotalLines grade_;
    std::vector<TotalShare> shares_;  ///< empty unless blank scores are left out
};

}  // namespace varnex
