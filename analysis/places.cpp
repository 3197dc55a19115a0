#include "analysis/places.h"

#include <algorithm>
#include <numeric>

namespace varnex {

TieRule listingTieRule(RankingRule rule) {
    return rule == RankingRule::Competition ? TieRule::Competition : TieRule::Dense;
}

TieRule progressTieRule(RankingRule rule) {
    return rule == RankingRule::Dense ? TieRule::Dense : TieRule::Competition;
}

int placeAt(size_t position, int placeBefore, bool tiesWithBefore, TieRule rule) {
    if (position == 0) return 1;
    if (tiesWithBefore) return placeBefore;
    return rule == TieRule::Competition ? static_cast<int>(position) + 1 : placeBefore + 1;
}

std::vector<int> placesByValue(const std::vector<double>& values, TieRule rule) {
    std::vector<size_t> order(values.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return values[a] > values[b]; });
    std::vector<int> places(values.size());
    int place = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        place = placeAt(i, place, i > 0 && values[order[i]] == values[order[i - 1]], rule);
        places[order[i]] = place;
    }
    return places;
}

std::vector<int> competitionRanks(const std::vector<double>& totals) {
    return placesByValue(totals, TieRule::Competition);
}

}  // namespace varnex
