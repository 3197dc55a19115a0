#pragma once
// What the three-rate sheets share besides the cell helpers: their columns, block labels and
// sixteen-column head, the texts of their figures and the shapes of their formulas.

#include <array>
#include <string>
#include <string_view>

#include "sheets/sheet_cells.h"
#include "workbook/excel_session.h"

namespace varnex {

/// The style of a boxed cell, under the name the progress sheets still write with.
using RateCellStyle = CellStyle;

/// The cell helpers of sheets/sheet_cells bound to one sheet, for the sheets that still write
/// through an object.
class RateCells {
  public:
    explicit RateCells(ExcelSheet& sheet) : sheet_(sheet) {}

    void band(int lastColumn, int row, std::string_view value) {
        writeMergedRow(sheet_, lastColumn, row, value);
    }
    void cell(int column, int row, std::string_view value, const CellStyle& style = {}) {
        writeBoxedCell(sheet_, column, row, value, style);
    }
    void block(int column, int firstRow, int lastRow, std::string_view value) {
        writeMergedBlock(sheet_, column, firstRow, lastRow, value);
    }
    void formulaBlock(int column, int firstRow, int lastRow, std::string_view formula) {
        writeFormulaBlock(sheet_, column, firstRow, lastRow, formula);
    }

  private:
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
void writeSixteenColumnHead(ExcelSheet& sheet, std::string_view title,
                            const std::array<const char*, 16>& headers);

/// A head count as written: "%d".
std::string countText(int count);
/// count × 100 / satCount rounded to one decimal (roundedText); "" when nobody sat.
std::string rateText(int count, int satCount);
/// The sum of the scores (in thousandths) over satCount, rounded to one decimal (roundedText);
/// "" when nobody sat.
std::string averageText(long long scoreSumThousandths, int satCount);

/// "=RANK(X r,X$first:X$last)": the rank of a figure among the groups of a block.
std::string rankFormula(int column, int row, int firstRow, int lastRow);
/// "=AVERAGE(X$first:X$last)": the unweighted mean of a block's averages.
std::string averageFormula(int column, int firstRow, int lastRow);
/// "=M$r-O$f": a group's average minus its block's 总平均分.
std::string deviationFormula(int averageColumn, int row, int blockAverageColumn, int firstRow);
/// "=(G$r/D$r)*100": a rate computed by the spreadsheet at full precision.
std::string rateFormula(int countColumn, int row, int satColumn);

}  // namespace varnex
