#pragma once
// The two cell patterns that every export sheet repeats: a boxed, centred cell and the merged
// title row.

#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "automation/excel_session.h"

namespace varnex {

/// The last row a worksheet can hold; sheets that would need more are refused before writing.
constexpr int kMaxSheetRows = 1048576;

/// Writes one cell at a 0-based column and 1-based row: box, centred, the column width when
/// `width` > 0, then the value.
void writeBoxedCell(ExcelSheet& sheet, int column, int row, std::string_view value, int width = 0);

/// Writes the title merged and centred over A1 to the last column (0-based).
void writeTitleRow(ExcelSheet& sheet, int lastColumn, std::string_view title);

/// A line of a note under the title: the row merged and centred from A to the last column (0-based).
void writeNoteRow(ExcelSheet& sheet, int lastColumn, int row, std::string_view note);

/// A header over several columns: the cells merged across, boxed and centred.
void writeSpanningHeader(ExcelSheet& sheet, int firstColumn, int lastColumn, int row, std::string_view text);

/// Row 3 of a band sheet from `firstColumn` on: "<school>/累计" for each school (width 11), then
/// "合计/累计" when there are two schools or more.
void writeCumulativeHeaders(ExcelSheet& sheet, int firstColumn, const std::vector<std::string>& schools);

/// The text of a band count cell: the band's count and the cumulative count, "%3d/%-3d".
std::string countCellText(int inBand, int cumulative);

/// The examined subjects of the last student import, in subject order (empty entries skipped).
std::vector<std::string> examSubjectNames(const AppState& state);

}  // namespace varnex
