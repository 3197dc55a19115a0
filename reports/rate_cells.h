#pragma once
// The cell patterns that the rate sheets repeat: the merged title band, the bordered single cell
// and the bordered block merged down several rows of one column.

#include <array>
#include <string>
#include <string_view>

#include "automation/excel_session.h"

namespace varnex {

/// Optional parts of a single-cell write.
struct RateCellStyle {
    int horizontalAlign = kAlignCenter;
    int columnWidth = 0;      ///< 0: the width is not set
    bool rateFormat = false;  ///< sets the rate number format before the value
    bool formula = false;     ///< the value is one of the sheet's own formulas, not data
};

/// Writes the rate sheets' cells into the sheet handed over by the export run.
class RateCells {
  public:
    explicit RateCells(ExcelSheet& sheet) : sheet_(sheet) {}

    /// Row `row` from column A to `lastColumn` merged across, centred, without a border.
    void band(int lastColumn, int row, std::string_view value);
    /// One cell: border box, alignment, optional width, optional number format, value.
    void cell(int column, int row, std::string_view value, const RateCellStyle& style = {});
    /// Rows firstRow … lastRow of one column merged into a bordered, centred block.
    void block(int column, int firstRow, int lastRow, std::string_view value);
    /// The same block holding one of the sheet's own formulas (formatted as a rate).
    void formulaBlock(int column, int firstRow, int lastRow, std::string_view formula);

  private:
    /// The bordered, centred block merged down the rows, ready for its value.
    ExcelRange& mergedBlock(int column, int firstRow, int lastRow, bool rateFormat);
    ExcelSheet& sheet_;
};

/// Columns A … P shared by the class and teacher sheets.
namespace rate_columns {
constexpr int kLabel = 0;           // A: subject block label
constexpr int kSchool = 1;          // B
constexpr int kClass = 2;           // C
constexpr int kSat = 3;             // D: 实考人数
constexpr int kHeadTeacher = 4;     // E: 班主任, always empty
constexpr int kTeacher = 5;         // F: 任课教师
constexpr int kExcellentCount = 6;  // G
constexpr int kExcellentRate = 7;   // H
constexpr int kExcellentRank = 8;   // I
constexpr int kPassCount = 9;       // J
constexpr int kPassRate = 10;       // K
constexpr int kPassRank = 11;       // L
constexpr int kAverage = 12;        // M
constexpr int kAverageRank = 13;    // N
constexpr int kBlockAverage = 14;   // O: 总平均分, merged over the block
constexpr int kDeviation = 15;      // P: 离均差
constexpr int kLast = kDeviation;
constexpr int kFirstDataRow = 4;
}  // namespace rate_columns

/// The label of a subject's block of rows, "语文\n（150分）"; the subject-band sheet labels its
/// blocks the same way.
std::string subjectBlockLabel(std::string_view subject, int fullMark);

/// Title band in row 1 and the sixteen headers of row 3, with widths 9 on A and 11 on the ranks.
void writeSixteenColumnHead(RateCells& out, std::string_view title,
                            const std::array<const char*, 16>& headers);

}  // namespace varnex
