#pragma once
// The cell patterns that the result sheets repeat: the boxed cell (centred unless told), the row
// merged across under the title, the header merged over several columns and the bordered block
// merged down several rows of one column.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "workbook/excel_session.h"

namespace varnex {

/// The last row a worksheet can hold; sheets that would need more are refused before writing.
constexpr int kMaxSheetRows = 1048576;

/// The number format of every rate and average cell.
inline constexpr const char* kRateNumberFormat = "0.0";

/// Optional parts of a boxed cell.
struct CellStyle {
    HAlign horizontalAlign = kAlignCenter;
    int columnWidth = 0;      ///< 0: the width is not set
    bool rateFormat = false;  ///< sets the rate number format before the value
    bool formula = false;     ///< the value is one of the sheet's own formulas, not data
};

/// Writes one cell at a 0-based column and 1-based row: box, alignment, the column width when
/// set, the rate format when asked for, then the value (a formula goes in as typed input).
void writeBoxedCell(ExcelSheet& sheet, int column, int row, std::string_view value, const CellStyle& style);
/// A boxed, centred cell, with the column width when `width` > 0.
void writeBoxedCell(ExcelSheet& sheet, int column, int row, std::string_view value, int width = 0);

/// A boxed, centred cell holding a whole number (a count, a serial number, a place).
void writeBoxedNumber(ExcelSheet& sheet, int column, int row, long long value);
/// The same for a number that may be missing: an empty boxed cell when there is none.
void writeBoxedNumber(ExcelSheet& sheet, int column, int row, std::optional<long long> value);

/// Row `row` merged from column A to the last column (0-based), centred, without a border.
void writeMergedRow(ExcelSheet& sheet, int lastColumn, int row, std::string_view text);

/// Writes the title merged and centred over A1 to the last column (0-based).
void writeTitleRow(ExcelSheet& sheet, int lastColumn, std::string_view title);

/// A line of a note under the title: the row merged and centred from A to the last column (0-based).
void writeNoteRow(ExcelSheet& sheet, int lastColumn, int row, std::string_view note);

/// Rows firstRow … lastRow of one column merged into a bordered block centred both ways.
void writeMergedBlock(ExcelSheet& sheet, int column, int firstRow, int lastRow, std::string_view value);
/// The same block holding one of the sheet's own formulas, formatted as a rate.
void writeFormulaBlock(ExcelSheet& sheet, int column, int firstRow, int lastRow, std::string_view formula);

/// The same block holding a number instead (empty without one), formatted as a rate.
void writeNumberBlock(ExcelSheet& sheet, int column, int firstRow, int lastRow, std::optional<double> value);
/// A boxed, centred cell holding a number formatted as a rate, or empty without one.
void writeBoxedRate(ExcelSheet& sheet, int column, int row, std::optional<double> value);

/// A header over several columns: the cells merged across, boxed and centred.
void writeSpanningHeader(ExcelSheet& sheet, int firstColumn, int lastColumn, int row, std::string_view text);

/// Row 3 of a band sheet from `firstColumn` on: "<school>/累计" for each school (width 11), then
/// "合计/累计" when there are two schools or more.
void writeCumulativeHeaders(ExcelSheet& sheet, int firstColumn, const std::vector<std::string>& schools);
/// The same with "合计/累计" only when `withAll`.
void writeCumulativeHeaders(ExcelSheet& sheet, int firstColumn, const std::vector<std::string>& schools,
                            bool withAll);

/// The text of a band count cell: the band's count and the cumulative count, "%3d/%-3d".
std::string countCellText(int inBand, int cumulative);

/// The examined subjects of the last student import, in subject order (empty entries skipped).
std::vector<std::string> examSubjectNames(const AppState& state);

}  // namespace varnex
