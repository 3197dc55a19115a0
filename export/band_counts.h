#pragma once
// Counting for the band sheets: values grouped by school and sorted once, so that every count
// cell of a band is two binary searches instead of a pass over all students.

#include <string>
#include <vector>

#include "app/row_table.h"

namespace varnex {

/// Values sorted once; counts of intervals by binary search.
class SortedValues {
public:
    void add(double value) { values_.push_back(value); }
    void sort();
    /// Values v with low <= v < high (0 when high <= low).
    int countInRange(double low, double high) const;
    /// Values v >= low.
    int countAtLeast(double low) const;
    /// Values v < high.
    int countBelow(double high) const;

private:
    std::vector<double> values_;
};

/// The rows of the StudentTable grouped by the exact 学校 text of each SchoolList entry. A school
/// listed twice shares one group.
class SchoolGroups {
public:
    SchoolGroups(const RowTable& students, const std::vector<std::string>& schoolList);
    /// The group of a row, or -1 when its school is not listed.
    int groupOfRow(int row) const { return rowGroup_[static_cast<size_t>(row)]; }
    /// The group of the i-th SchoolList entry.
    int groupOfSchool(size_t i) const { return schoolGroup_[i]; }
    int groupCount() const { return groupCount_; }

    /// Sorts per group (and over all rows) the values of one column of every row.
    struct Counts {
        std::vector<SortedValues> perGroup;
        SortedValues all;
    };
    Counts sortedBy(const std::vector<double>& valueOfRow) const;

private:
    std::vector<int> rowGroup_;
    std::vector<int> schoolGroup_;
    int groupCount_ = 0;
};

/// The values of one StudentTable column read as numbers (atof semantics).
std::vector<double> columnValues(const RowTable& students, int column);

}  // namespace varnex
