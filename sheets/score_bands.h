#pragma once
// 总分分数段: per school, how the totals fall into bands of ten points from the full total mark
// down to 0, each band with its count and the count at or above its lower edge. The band scale
// is shared with 各科分数段.

#include <string>
#include <vector>

#include "app/app_state.h"
#include "automation/excel_session.h"
#include "base/result.h"

namespace varnex {

/// One band of a score scale: members have low <= score < high; its cumulative count takes
/// every score >= low.
struct ScoreBand {
    int low = 0;
    double high = 0;
    std::string label;
};

/// The bands j = 0 … B−1 of a scale with full mark F: B = F/10 + 1, or F/10 + 2 when F is not a
/// multiple of ten (none when that is below 1). Band j starts at 10·j and spans ten points, the
/// one below the full-mark band only up to F when F is not a multiple of ten, and the last band
/// is the full-mark band F ≤ score < F + 10.
std::vector<ScoreBand> scoreBands(int fullMark);
/// Every bound of the bands, for counting.
std::vector<double> bandEdges(const std::vector<ScoreBand>& bands);
/// B for a full mark (0 when below 1), without building the bands.
long long scoreBandCount(int fullMark);

/// The row of band j (0: the band from 0) on a band sheet of `bandCount` bands: the full-mark band
/// in row 4 at the top, the band from 0 at the bottom.
int scoreBandRow(int bandCount, int band);

/// Fills the total-band sheet it is handed (already taken, activated and named). Fails, writing
/// nothing, when the bands of the total full mark need more rows than a worksheet has.
Status writeScoreBands(ExcelSheet& sheet, const AppState& state, const std::string& title);

}  // namespace varnex
