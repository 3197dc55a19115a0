#pragma once
// The automation layer: the operation list through which every produced workbook is built, bound
// to an in-memory WorkbookModel. One current sheet and one current range at a time; every format
// and value goes to the current range.

#include <stdexcept>
#include <string>
#include <string_view>

#include "automation/cell_name.h"
#include "automation/workbook_model.h"

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

/// The current range of the current sheet.
class ExcelRange {
  public:
    /// Sets the value as typed input: a plain decimal number becomes a number, text beginning
    /// with "=" a formula, "" empties the cell, anything else stays text. A merged area takes the
    /// value in its top-left cell; any other range in every cell.
    void SetValue(std::string_view text);
    /// Sets a value that comes from imported data: like SetValue, except that text beginning
    /// with "=" stays text, so that a name or score typed as "=…" can never become a formula.
    void SetData(std::string_view text);
    void SetHorizontalAlignment(int code);  ///< 2 left, 3 centred
    void SetVerticalAlignment(int code);    ///< -4108 centred
    /// Merges the range (across = 1: each row on its own).
    void Merge(int across);
    void SetColumnWidth(int width);
    void SetNumberFormat(std::string_view format);
    /// A thin continuous box around the range's outer edge.
    void BorderAround(int lineStyle = 1, int weight = 2, int colorIndex = 1);

  private:
    friend class ExcelSheet;
    friend class ExcelSession;
    ExcelRange() = default;
    void put(std::string_view text, bool formulas);
    WorkbookModel* workbook_ = nullptr;
    SheetModel* sheet_ = nullptr;
    CellRange range_{};
};

/// The current sheet.
class ExcelSheet {
  public:
    void Activate();
    void SetName(std::string_view name);
    std::string GetName() const;
    void SetVisible(int visible);
    /// Takes the range between two A1 addresses as the current range.
    ExcelRange& Range(std::string_view first, std::string_view last);

    /// How the sheet prints (paper, orientation, scaling, repeated rows, header and footer, page
    /// breaks, print area), replacing what was set before.
    void SetPageSetup(const PageSetup& setup);
    /// Freezes the rows above and the columns left of a cell ("A4": the first three rows).
    void FreezePanes(std::string_view topLeftScrollingCell);
    /// Makes a cell a link to another sheet of the workbook; the cell keeps its value and format.
    void AddSheetLink(std::string_view cell, std::string_view sheetName);
    /// Places a chart on the sheet. Every sheet it reads from must exist.
    void AddChart(ChartModel chart);
    /// Widens the columns in use whose width was never set to their longest value.
    void AutoFitColumns();
    /// The width of the columns in use in points, as they print.
    double UsedWidthPoints() const;

  private:
    friend class ExcelSession;
    ExcelSheet() = default;
    ExcelSession* session_ = nullptr;
    int position_ = 0;
};

/// Parses text as typed input: true and the value when it is a plain decimal number
/// (optional sign, digits, optional fraction, blanks around).
bool parsePlainNumber(std::string_view text, double& value);

class ExcelSession {
  public:
    ExcelSession();
    ExcelSession(const ExcelSession&) = delete;
    ExcelSession& operator=(const ExcelSession&) = delete;

    /// Starts the engine; false when it cannot be started.
    bool Start();
    void SetUserControl(bool on) { userControl_ = on; }
    /// Showing the workbook (true) is recorded; the command that owns the session saves and
    /// opens the file.
    void SetVisible(bool visible) { visible_ = visible; }
    void SetCaption(std::string_view caption) { caption_ = caption; }
    /// A new blank workbook with three sheets.
    void AddWorkbook(OmittedArgumentType);
    /// The sheet collection of the active workbook.
    void Sheets();
    /// Inserts `count` sheets before the active sheet.
    void AddSheets(int count);
    /// Takes the sheet at a 1-based position as the current sheet.
    ExcelSheet& Sheet(int index);
    /// Releases everything; the workbook model stays readable.
    void End() { started_ = false; }

    bool started() const { return started_; }
    bool visible() const { return visible_; }
    bool userControl() const { return userControl_; }
    const std::string& caption() const { return caption_; }

    /// The workbook being built (throws AutomationError when there is none).
    WorkbookModel& workbook();
    bool hasWorkbook() const { return hasWorkbook_; }

  private:
    friend class ExcelSheet;
    WorkbookModel workbook_;
    bool hasWorkbook_ = false;
    bool started_ = false;
    bool visible_ = false;
    bool userControl_ = false;
    std::string caption_;
    ExcelSheet sheet_;
    ExcelRange range_;
};

}  // namespace varnex
