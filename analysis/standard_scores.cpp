#include "analysis/standard_scores.h"

#include "analysis/rates.h"
#include "analysis/three_rates.h"
#include "base/rounding.h"

namespace varnex {

bool StandardScores::counted(int student, size_t column) const {
    if (exam_.blankScoresExcluded() && !exam_.score(student, column).sat) return false;
    return !(zeroExcluded_ && exam_.scoreText(student, column) == "0");
}

StandardScores::StandardScores(const Exam& exam)
    : exam_(exam), zeroExcluded_(exam.options().ignoreZeroScores), spreads_(exam.subjects().size() + 1) {
    for (size_t c = 0; c < spreads_.size(); ++c) {
        RateGroup sums;
        const RateRule rule{.zeroExcluded = zeroExcluded_, .blankExcluded = exam.blankScoresExcluded()};
        for (int r = 0; r < exam.studentCount(); ++r) sums.add(exam.score(r, c), exam.scoreText(r, c), rule);
        ScoreSpread& spread = spreads_[c];
        spread.counted = sums.satCount;
        if (sums.satCount == 0) continue;
        spread.mean = fromThousandths(sums.scoreSumThousandths, sums.satCount);
        spread.deviation = standardDeviation(sums).value_or(0);
    }
}

std::optional<double> StandardScores::z(int student, size_t column) const {
    const ScoreSpread& spread = spreads_[column];
    if (spread.deviation <= 0 || !counted(student, column)) return std::nullopt;
    const double value = fromThousandths(toThousandths(exam_.score(student, column).value));
    return (value - spread.mean) / spread.deviation;
}

}  // namespace varnex
