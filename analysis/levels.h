#pragma once
// 等级: each student's level in every examined subject and the total, by the grade's cuts (by
// score, a percent of the full mark, or by the share of students who scored higher), and the
// number of students of each level per school and class.

#include <optional>
#include <string>
#include <vector>

#include "analysis/exam.h"
#include "app/level_cuts.h"

namespace varnex {

/// The level (0 the best) of a score by score lines: the first level whose line the score reaches,
/// score × 100 ≥ line × full mark compared exactly (the score in thousandths of a point, the lines
/// in hundredths of a percent); the last level below every line.
int levelByScore(const LevelCuts& cuts, long long scoreThousandths, long long fullMark);

/// The levels of the scores of one subject by shares: a student's level is the first whose
/// cumulative share is above the share of students who scored strictly higher, so that equal
/// scores share a level, the higher one. The count base is the scores that are there; a score
/// that is not there gets no level (-1).
std::vector<int> levelsByShare(const LevelCuts& cuts, const std::vector<std::optional<long long>>& scores);

/// The cuts the exam uses: its grade's settings, else the grade's default.
LevelCuts examLevelCuts(const Exam& exam);

/// Every counted student's level in every examined subject and the total.
class ExamLevels {
  public:
    explicit ExamLevels(const Exam& exam);

    const LevelCuts& cuts() const { return cuts_; }
    /// Exam subjects + the total.
    size_t columnCount() const { return columns_; }
    /// The student's level in subject i (i == subjects().size() the total), -1 when not counted:
    /// no score under the rule that leaves blank scores out, a "0" when zeros sit out, no total.
    int level(int student, size_t column) const {
        return levels_[static_cast<size_t>(student) * columns_ + column];
    }

  private:
    LevelCuts cuts_;
    size_t columns_ = 0;
    std::vector<signed char> levels_;
};

/// The level of the 总分 of every row of the exam's previous exam by `cuts` (-1 without a total),
/// counted as the exam counts its own totals: by score against the full marks of the subjects the
/// previous exam examined (with blank scores left out, those the student sat), by share among its
/// students with a total.
std::vector<int> previousTotalLevels(const Exam& exam, const LevelCuts& cuts);

/// The students of one group at each level of one column.
struct LevelCounts {
    int counted = 0;          ///< students with a level
    std::vector<int> counts;  ///< per level, best first
};

/// The level counts of every class of the ClassList, every school of the SchoolList and the exam.
struct LevelDistribution {
    LevelCuts cuts;
    /// [class][column], [school][column] and [column]; columns the exam subjects, then the total.
    std::vector<std::vector<LevelCounts>> classes;
    std::vector<std::vector<LevelCounts>> schools;
    std::vector<LevelCounts> exam;
};

LevelDistribution levelDistribution(const Exam& exam);

}  // namespace varnex
