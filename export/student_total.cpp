#include "export/student_total.h"

#include "reports/three_rates.h"

namespace varnex {

std::optional<double> studentTotal(const std::vector<std::string>& row) {
    const std::string& text = row[static_cast<size_t>(kTotalColumn)];
    if (text.empty()) return std::nullopt;
    return scoreValue(text);
}

TotalLines totalLinesOf(const ScoreSettings& scores, const std::vector<std::string>& /*row*/) {
    return {static_cast<long long>(scores.totalExcellenceScore()) * 1000,
            passLineThousandths(scores.totalFullMark())};
}

}  // namespace varnex
