#include "analysis/band_counts.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "base/text_util.h"

namespace varnex {

SchoolGroups::SchoolGroups(const RowTable& students, const std::vector<std::string>& schoolList) {
    std::unordered_map<std::string_view, int> groups;
    schoolGroup_.reserve(schoolList.size());
    for (const auto& school : schoolList) {
        auto [it, added] = groups.emplace(school, groupCount_);
        if (added) ++groupCount_;
        schoolGroup_.push_back(it->second);
    }
    rowGroup_.resize(static_cast<size_t>(students.rowCount()));
    for (int row = 0; row < students.rowCount(); ++row) {
        auto it = groups.find(students.cellText(row, 0));
        rowGroup_[static_cast<size_t>(row)] = it == groups.end() ? -1 : it->second;
    }
}

BandCounter::BandCounter(std::vector<double> edges, const SchoolGroups& groups,
                         const std::vector<double>& valueOfRow)
    : edges_(std::move(edges)), groupCount_(groups.groupCount()) {
    std::sort(edges_.begin(), edges_.end());
    edges_.erase(std::unique(edges_.begin(), edges_.end()), edges_.end());
    // Slot k of a group counts the values between edge k − 1 and edge k; the last slot those
    // at or above the highest edge.
    stride_ = edges_.size() + 1;
    prefix_.assign(stride_ * static_cast<size_t>(groupCount_ + 1), 0);
    const size_t all = static_cast<size_t>(groupCount_) * stride_;
    for (size_t row = 0; row < valueOfRow.size(); ++row) {
        if (std::isnan(valueOfRow[row])) continue;  // no score: in no band
        size_t slot = static_cast<size_t>(std::upper_bound(edges_.begin(), edges_.end(), valueOfRow[row]) -
                                          edges_.begin());
        int group = groups.groupOfRow(static_cast<int>(row));
        if (group >= 0) ++prefix_[static_cast<size_t>(group) * stride_ + slot];
        ++prefix_[all + slot];
    }
    for (size_t g = 0; g <= static_cast<size_t>(groupCount_); ++g) {
        int* p = &prefix_[g * stride_];
        for (size_t k = 1; k < stride_; ++k) p[k] += p[k - 1];
    }
}

const int* BandCounter::prefixOf(int group) const {
    return &prefix_[static_cast<size_t>(group == kAllRows ? groupCount_ : group) * stride_];
}

int BandCounter::countBelow(int group, double edge) const {
    auto it = std::lower_bound(edges_.begin(), edges_.end(), edge);
    assert(it != edges_.end() && *it == edge);
    // Values below edge k fill slots 0 … k.
    return prefixOf(group)[it - edges_.begin()];
}

int BandCounter::countInRange(int group, double low, double high) const {
    if (!(low < high)) return 0;
    return countBelow(group, high) - countBelow(group, low);
}

int BandCounter::countAtLeast(int group, double low) const {
    return prefixOf(group)[stride_ - 1] - countBelow(group, low);
}

std::vector<double> columnValues(const RowTable& students, int column, bool blankExcluded) {
    std::vector<double> values(static_cast<size_t>(students.rowCount()));
    for (int row = 0; row < students.rowCount(); ++row) {
        const std::string_view text = students.cellText(row, column);
        values[static_cast<size_t>(row)] =
            blankExcluded && !startsWithNumber(text) ? std::nan("") : cAtof(text);
    }
    return values;
}

}  // namespace varnex
