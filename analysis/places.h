#pragma once
// Places along a listing, best first, by one of two rules for ties: competition places (1, 2, 2, 4)
// leave a gap after a tie, dense places (1, 2, 2, 3) do not.

#include <cstddef>
#include <vector>

#include "app/subjects.h"

namespace varnex {

/// How entries that tie share a place.
enum class TieRule {
    Competition,  ///< 1, 2, 2, 4: a place is 1 + the number of entries before the tie
    Dense,        ///< 1, 2, 2, 3: a place is one more than the place before
};

/// The rule of the students' places in 总分前N名 and 班级总分排名 under the chosen 名次方式 (without
/// a choice, dense).
TieRule listingTieRule(RankingRule rule);
/// The rule of the students' grade places in 学生进退步 under the chosen 名次方式 (without a
/// choice, competition).
TieRule progressTieRule(RankingRule rule);

/// The place of the entry at `position` (0-based) along a listing, best first, given the place of
/// the entry before it and whether the two tie. The first entry takes place 1.
int placeAt(size_t position, int placeBefore, bool tiesWithBefore, TieRule rule);

/// The places of the values, higher values first, equal values tied.
std::vector<int> placesByValue(const std::vector<double>& values, TieRule rule);

/// The competition rank of every total: 1 + the number of strictly greater totals.
std::vector<int> competitionRanks(const std::vector<double>& totals);

}  // namespace varnex
