#pragma once
// The automation layer: the operation list through which every produced workbook is built, bound
// to an in-memory WorkbookModel. A sheet and a range are small handles to its sheets and cells;
// every format and value goes to a range.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/cell_name.h"
#include "workbook/workbook_model.h"

namespace varnex {

/// An automation call that breaks the model's invariants (no workbook, no such sheet, a range or
/// sheet name the caller should never have produced): a programming error, not bad data. The
/// command that owns the session catches it and ends with its message; data that cannot be
/// written is refused earlier, through a Status.
class AutomationError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// The "argument left out" marker (AddWorkbook with it makes a new blank workbook).
struct OmittedArgumentType {};
inline constexpr OmittedArgumentType OmittedArgument{};

class ExcelSession;

/// A rectangle of cells of one sheet: a small handle that stays on its cells however many
/// other ranges are taken after it.
class ExcelRange {
  public:
    /// Sets the value as typed input: a plain decimal number becomes a number, text beginning
    /// with "=" a formula, "" empties the cell, anything else stays text. A merged area takes the
    /// value in its top-left cell; any other range in every cell.
    void SetValue(std::string_view text);
    /// Sets a value that comes from imported data: like SetValue, except that text beginning
    /// with "=" stays text, so that a name or score typed as "=…" can never become a formula.
    void SetData(std::string_view text);
    /// Sets a number, in the cells SetValue would fill.
    void SetNumber(double number);
    void SetHorizontalAlignment(HAlign align);
    void SetVerticalAlignment(VAlign align);
    /// Merges the range (across = 1: each row on its own).
    void Merge(int across);
    void SetColumnWidth(int width);
    void SetNumberFormat(std::string_view format);
    /// A thin continuous black box around the range's outer edge.
    void BorderAround();

  private:
    friend class ExcelSheet;
    ExcelRange(WorkbookModel& workbook, SheetModel& sheet, const CellRange& range)
        : workbook_(&workbook), sheet_(&sheet), range_(range) {}
    /// Calls `apply` for the cells a value goes to.
    template <typename Apply>
    void forValueCells(Apply apply);
    void put(std::string_view text, bool formulas);
    WorkbookModel* workbook_;
    SheetModel* sheet_;
    CellRange range_;
};

/// One sheet of the workbook, by its position: a small handle, like ExcelRange.
class ExcelSheet {
  public:
    void Activate();
    void SetName(std::string_view name);
    std::string GetName() const;
    void SetVisible(int visible);
    /// The range between two A1 addresses, in either order.
    ExcelRange Range(std::string_view first, std::string_view last);
    /// One cell, by its 0-based row and column.
    ExcelRange Range(int row, int column);
    /// The rectangle between two 0-based positions, in either order.
    ExcelRange Range(CellPos first, CellPos last);
    ExcelRange Range(const CellRange& range) { return Range(range.first, range.last); }

    /// How the sheet prints (paper, orientation, scaling, repeated rows, header and footer, page
    /// breaks, print area), replacing what was set before.
    void SetPageSetup(const PageSetup& setup);
    /// Freezes the rows above and the columns left of a cell ("A4": the first three rows).
    void FreezePanes(std::string_view topLeftScrollingCell);
    /// Makes a cell a link to another sheet of the workbook; the cell keeps its value and format.
    void AddSheetLink(std::string_view cell, std::string_view sheetName);
    /// Places a chart on the sheet. Every sheet it reads from must exist.
    void AddChart(ChartModel chart);
    /// Fills the cells of the range whose value is at most `atMost` in the colour 0xRRGGBB (a
    /// conditional format: the application judges the values as they stand).
    void AddConditionalFill(const CellRange& range, double atMost, uint32_t fillRgb);
    /// Widens the columns in use whose width was never set to their longest value.
    void AutoFitColumns();
    /// The width of the columns in use in points, as they print.
    double UsedWidthPoints() const;
    /// The merged areas of the sheet.
    const std::vector<CellRange>& MergedAreas() const;

  private:
    friend class ExcelSession;
    ExcelSheet(ExcelSession& session, int position) : session_(&session), position_(position) {}
    ExcelSession* session_;
    int position_;
};

/// Parses text as typed input: true and the value when it is a plain decimal number
/// (optional sign, digits, optional fraction, blanks around).
bool parsePlainNumber(std::string_view text, double& value);

class ExcelSession {
  public:
    ExcelSession() = default;
    ExcelSession(const ExcelSession&) = delete;
    ExcelSession& operator=(const ExcelSession&) = delete;

    /// A new blank workbook with three sheets.
    void AddWorkbook(OmittedArgumentType);
    /// Inserts `count` sheets before the active sheet.
    void AddSheets(int count);
    /// The sheet at a 1-based position.
    ExcelSheet Sheet(int index);

    /// The workbook being built (throws AutomationError when there is none).
    WorkbookModel& workbook();
    bool hasWorkbook() const { return hasWorkbook_; }

  private:
    WorkbookModel workbook_;
    bool hasWorkbook_ = false;
};

}  // namespace varnex
