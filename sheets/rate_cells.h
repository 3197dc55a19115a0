#pragma once
// What the three-rate sheets share besides the cell helpers: their columns, block labels and
// sixteen-column head, the texts of their figures and the shapes of their formulas.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/three_rates.h"
#include "app/subjects.h"
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
/// "=RANK(X r,X$first:X$last,1)": the rank of a figure of which the lowest is best (低分率).
std::string ascendingRankFormula(int column, int row, int firstRow, int lastRow);
/// "=AVERAGE(X$first:X$last)": the unweighted mean of a block's averages.
std::string averageFormula(int column, int firstRow, int lastRow);
/// "=M$r-O$f": a group's average minus its block's 总平均分.
std::string deviationFormula(int averageColumn, int row, int blockAverageColumn, int firstRow);
/// "=(G$r/D$r)*100": a rate computed by the spreadsheet at full precision.
std::string rateFormula(int countColumn, int row, int satColumn);

/// A figure of 四率 or 扩展指标 appended to the class and teacher sheets.
enum class AddedFigure {
    GoodCount,
    GoodRate,
    GoodRank,
    LowCount,
    LowRate,
    LowRank,
    AboveSchool,  ///< 超均率 against the group's school
    AboveExam,    ///< 超均率 against the whole exam
    Spread,       ///< 标准差
    Highest,
    Lowest,
};

/// One appended column: its figure, its 0-based column and its header.
struct AddedColumn {
    AddedFigure figure;
    int column;
    const char* header;
};

/// The columns appended after P on 班级各科三率 (`againstSchool`: with 超均率 against the school)
/// or 教师个人三率, as the options choose them: 四率's, then 扩展指标's.
std::vector<AddedColumn> addedRateColumns(const ExportOptions& options, bool againstSchool);

/// Row 3's headers of the appended columns.
void writeAddedHeaders(ExcelSheet& sheet, const std::vector<AddedColumn>& columns);

/// In a part's own workbook, what the whole sheet's formulas of one row's appended columns work out
/// over all the groups of its block: the places of 良好率 and 低分率 (0: none) and, for the rates
/// the whole sheet computes with formulas, the rates.
struct AddedNumbers {
    int goodPlace = 0;
    int lowPlace = 0;
    std::optional<double> goodRate;
    std::optional<double> lowRate;
};

/// What one row of the appended columns shows: the group's figures and those it is set against.
struct AddedRow {
    const RateGroup* group = nullptr;
    const RateGroup* school = nullptr;  ///< for AboveSchool
    const RateGroup* exam = nullptr;    ///< for AboveExam
    int row = 0;
    int firstRow = 0;  ///< the block's rows, for the ranks
    int lastRow = 0;
    /// The rates as the spreadsheet's own formulas over the counts (教师个人三率) instead of values.
    bool rateFormulas = false;
    /// Given: the ranks (and with `rateFormulas` the rates) as these numbers instead of formulas.
    const AddedNumbers* numbers = nullptr;
};

/// Writes one row of the appended columns. A group where nobody sat has no rates, ranks or spread.
void writeAddedFigures(ExcelSheet& sheet, const std::vector<AddedColumn>& columns, const AddedRow& row);

/// A score in thousandths as written: "85", "85.5", "85.25".
std::string scoreFigureText(long long thousandths);
/// 超均率 rounded to one decimal; "" when there is none.
std::string aboveAverageText(const std::optional<double>& rate);
/// 标准差 rounded to two decimals; "" when there is none.
std::string spreadText(const std::optional<double>& spread);

}  // namespace varnex
