#pragma once
// Counting for the band sheets. Every row's value is placed once between the band edges of the
// sheet, per school and for all schools; prefix sums then give any band count or cumulative
// count in constant time, so a sheet costs one pass over the students plus one step per cell.

#include <string>
#include <vector>

#include "app/row_table.h"

namespace varnex {

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
    int rowCount() const { return static_cast<int>(rowGroup_.size()); }

  private:
    std::vector<int> rowGroup_;
    std::vector<int> schoolGroup_;
    int groupCount_ = 0;
};

/// Counts of the rows' values between band edges, per school group and over all rows.
class BandCounter {
  public:
    /// Group index that stands for all rows, whatever their school.
    static constexpr int kAllRows = -1;

    /// `edges` must hold every bound that is later asked about; `valueOfRow` has one value per row
    /// (NaN for a row without a score, which no band counts).
    BandCounter(std::vector<double> edges, const SchoolGroups& groups, const std::vector<double>& valueOfRow);

    /// Values v < edge.
    int countBelow(int group, double edge) const;
    /// Values low <= v < high (0 when high <= low).
    int countInRange(int group, double low, double high) const;
    /// Values v >= low.
    int countAtLeast(int group, double low) const;

  private:
    const int* prefixOf(int group) const;
    std::vector<double> edges_;
    std::vector<int> prefix_;  ///< per group (all rows last): rows below each edge, then the total
    size_t stride_ = 0;
    int groupCount_ = 0;
};

/// The values of one StudentTable column read as numbers (atof semantics); with `blankExcluded`
/// a text that is no number ("", "缺考") gives NaN: no score.
std::vector<double> columnValues(const RowTable& students, int column, bool blankExcluded = false);

}  // namespace varnex
