#include "export/band_counts.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "app/text_util.h"

namespace varnex {

void SortedValues::sort() { std::sort(values_.begin(), values_.end()); }

int SortedValues::countInRange(double low, double high) const {
    if (!(low < high)) return 0;
    return countBelow(high) - countBelow(low);
}

int SortedValues::countAtLeast(double low) const { return static_cast<int>(values_.size()) - countBelow(low); }

int SortedValues::countBelow(double high) const {
    return static_cast<int>(std::lower_bound(values_.begin(), values_.end(), high) - values_.begin());
}

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

SchoolGroups::Counts SchoolGroups::sortedBy(const std::vector<double>& valueOfRow) const {
    Counts counts;
    counts.perGroup.resize(static_cast<size_t>(groupCount_));
    for (size_t row = 0; row < valueOfRow.size(); ++row) {
        counts.all.add(valueOfRow[row]);
        if (rowGroup_[row] >= 0) counts.perGroup[static_cast<size_t>(rowGroup_[row])].add(valueOfRow[row]);
    }
    counts.all.sort();
    for (auto& g : counts.perGroup) g.sort();
    return counts;
}

std::vector<double> columnValues(const RowTable& students, int column) {
    std::vector<double> values(static_cast<size_t>(students.rowCount()));
    for (int row = 0; row < students.rowCount(); ++row)
        values[static_cast<size_t>(row)] = cAtof(students.cellText(row, column));
    return values;
}

}  // namespace varnex
