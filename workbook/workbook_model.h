#pragma once
// The in-memory workbook that the automation layer builds: sheets, cells, merges, borders,
// alignment, widths, number formats and formulas with their computed results.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "workbook/cell_name.h"

namespace varnex {

/// Border edges of one cell.
enum BorderEdge : uint8_t { kBorderLeft = 1, kBorderRight = 2, kBorderTop = 4, kBorderBottom = 8 };

/// How a cell's value sits across its width.
enum class HAlign : uint8_t { General, Left, Center };
/// How a cell's value sits in its height: at the application's default place, or centred.
enum class VAlign : uint8_t { Default, Center };

/// Shorter names the sheet writers use.
inline constexpr HAlign kAlignLeft = HAlign::Left;
inline constexpr HAlign kAlignCenter = HAlign::Center;
inline constexpr VAlign kAlignVerticalCenter = VAlign::Center;

/// The result of a formula (or of reading a cell inside one).
struct Value {
    enum class Kind : uint8_t { Empty, Number, Text, Error };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text;  ///< the text, or the error code such as "#DIV/0!"

    static Value ofNumber(double d) { return {Kind::Number, d, {}}; }
    static Value ofText(std::string s) { return {Kind::Text, 0, std::move(s)}; }
    static Value error(std::string code) { return {Kind::Error, 0, std::move(code)}; }
    bool isNumber() const { return kind == Kind::Number; }
};

/// One cell: its value (or formula and computed result) and its format, in 32 bytes. The texts
/// live in the sheet's TextStore; a cell holds a view of its own. Values are set through the
/// sheet (SheetModel::setText and the others).
class Cell {
  public:
    enum class Kind : uint8_t { Empty, Number, Text, Formula };
    Kind kind = Kind::Empty;
    uint8_t borders = 0;  ///< BorderEdge bits
    HAlign horizontalAlign = HAlign::General;
    bool verticalCenter = false;
    uint16_t numberFormat = 0;  ///< 0: general; otherwise index into WorkbookModel::numberFormats + 1
    bool inMerge = false;       ///< part of one of the sheet's merged areas

    /// The value of a number cell (0 for other kinds).
    double number() const { return kind == Kind::Number ? value_.number : 0; }
    /// The text of a text cell, or the formula (with "=") of a formula cell; `data()` is a C string.
    std::string_view text() const { return {text_, textSize_}; }
    /// The computed result of a formula cell (empty until the sheet is recalculated).
    Value cached() const;
    Value::Kind cachedKind() const { return cachedKind_; }
    double cachedNumber() const { return cachedKind_ == Value::Kind::Number ? value_.number : 0; }
    std::string_view cachedText() const;

  private:
    friend class SheetModel;
    Value::Kind cachedKind_ = Value::Kind::Empty;
    uint32_t textSize_ = 0;
    uint32_t cachedTextSize_ = 0;
    const char* text_ = "";
    union {
        double number;           ///< a number cell's value, or a formula's numeric result
        const char* cachedText;  ///< a formula's text or error result
    } value_{0.0};
};

/// The texts of one sheet's cells, appended to blocks that never move, so that a cell can keep a
/// view of its text without an allocation of its own. Every text is followed by a NUL, so that
/// `data()` of a view is a C string. A text that is replaced stays in the store until the sheet's
/// cells are released.
class TextStore {
  public:
    /// A lasting copy of `text`.
    std::string_view add(std::string_view text);
    void clear();

  private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;
    size_t left_ = 0;
};

/// A rectangle of cells, first = top left, last = bottom right (0-based).
struct CellRange {
    CellPos first;
    CellPos last;
    bool operator==(const CellRange&) const = default;
};

/// How a sheet prints. Every part is optional: a default-constructed setup leaves the sheet to the
/// application's defaults.
struct PageSetup {
    static constexpr int kPaperA4 = 9;  ///< the paper size code of A4

    int paperSize = 0;  ///< 0: the application's default
    bool landscape = false;
    int fitToPagesWide = 0;  ///< 0: printed at 100 %; otherwise shrunk to this many pages wide …
    int fitToPagesTall = 0;  ///< … and this many tall (0: as many as it takes)
    int titleFirstRow = 0;   ///< 1-based rows repeated at the top of every printed page (0: none)
    int titleLastRow = 0;
    bool centerHorizontally = false;
    std::string centerHeader;            ///< the texts printed in the middle of the page's header and footer,
    std::string centerFooter;            ///< with the codes &P (page number), &N (page count), && (an "&")
    std::vector<int> rowBreaks;          ///< 1-based rows that begin a new printed page
    std::optional<CellRange> printArea;  ///< what prints; the used cells when none

    bool operator==(const PageSetup&) const = default;
};

/// Panes frozen at the top and left of a sheet: they stay in view while the rest scrolls.
struct FrozenPanes {
    int rows = 0;
    int columns = 0;
    bool operator==(const FrozenPanes&) const = default;
};

/// A cell that leads to another sheet of the workbook when clicked; the cell keeps its value.
struct SheetLink {
    CellPos cell;
    std::string sheet;  ///< the tab name of the sheet it opens, at its cell A1
};

/// A rectangle of cells of a named sheet, as a chart reads its data from it.
struct SheetRange {
    std::string sheet;
    CellRange range;
    bool operator==(const SheetRange&) const = default;
};

/// One series of a chart: its name in the legend and where its values and category labels are.
struct ChartSeries {
    std::string name;
    SheetRange values;
    std::optional<SheetRange> categories;
    /// Drawn as a level line across the plot at the value its cells hold (all equal), such as an
    /// average to compare the other series with, instead of as columns; of a single cell, as a red
    /// column.
    bool levelLine = false;
};

/// A column chart placed on a sheet, fed from cells of the workbook.
struct ChartModel {
    std::string title;
    std::string categoryAxisTitle;
    std::string valueAxisTitle;
    std::vector<ChartSeries> series;
    std::optional<double> valueMin;  ///< fixed ends of the value axis (else the application's choice)
    std::optional<double> valueMax;
    bool reverseCategories = false;  ///< the categories run from right to left
    int categoryLabelRotation = 0;   ///< degrees the category labels turn (0: the application's choice)
    bool legend = true;              ///< a legend below the plot
    CellPos anchor;                  ///< the cell of the chart's top left corner
    int widthPixels = 480;
    int heightPixels = 288;
};

/// A conditional format: the cells of a range whose value is at most a limit are filled in a
/// colour, as the spreadsheet application judges them whenever they change.
struct ConditionalFill {
    CellRange range;
    double atMost = 0;
    uint32_t fillRgb = 0xFFC7CE;  ///< the fill, 0xRRGGBB
    bool operator==(const ConditionalFill&) const = default;
};

/// One worksheet: its tab name, visibility, column widths, merged areas and cells, and what it
/// carries besides its cells: how it prints, its frozen panes, links to other sheets and charts.
class SheetModel {
  public:
    /// The width of a column whose width was never set, in characters.
    static constexpr double kDefaultColumnWidth = 8.43;

    std::string name;
    bool visible = true;
    std::map<int, double> columnWidths;  ///< by 0-based column
    std::vector<CellRange> merges;       ///< never overlapping; change them through addMerge()
    PageSetup pageSetup;
    FrozenPanes frozenPanes;
    std::vector<SheetLink> links;
    std::vector<ChartModel> charts;
    std::vector<ConditionalFill> conditionalFills;

    /// Merges a range (of more than one cell). Merged areas that overlap it are dissolved first, so
    /// that the areas never overlap (a file with overlapping areas is refused by spreadsheet
    /// applications).
    void addMerge(const CellRange& range);
    /// True when exactly this range is one merged area.
    bool isMergedArea(const CellRange& range) const;

    /// The cell at a 0-based position, or nullptr when nothing was ever written there.
    const Cell* cell(int row, int column) const;
    /// The cell at an A1 address ("B3"), or nullptr.
    const Cell* at(std::string_view address) const;
    /// The cell, created when needed.
    Cell& touch(int row, int column) {
        if (static_cast<size_t>(row) < rows_.size()) {
            auto& r = rows_[static_cast<size_t>(row)];
            if (static_cast<size_t>(column) < r.size()) return r[static_cast<size_t>(column)];
        }
        return create(row, column);
    }

    /// Number of rows that hold cells (the last used row + 1).
    int rowCount() const { return static_cast<int>(rows_.size()); }
    /// Number of cells created in a row.
    int columnCount(int row) const;
    /// Total number of cells created.
    size_t cellCount() const;

    /// Sets a cell's value; texts are copied into the sheet's store. The computed result of a
    /// formula is cleared with every new value.
    void setEmpty(Cell& cell);
    void setNumber(Cell& cell, double value);
    /// `kind` is Kind::Text or Kind::Formula (the formula with its "=").
    void setText(Cell& cell, Cell::Kind kind, std::string_view text);
    /// Stores the computed result of a formula cell.
    void setCached(Cell& cell, const Value& result);

    /// Frees the cells of one row (they read as never written); for a writer that is done with it.
    void releaseRow(int row);
    /// Frees every cell and text of the sheet; its name, widths and merged areas stay.
    void releaseCells();
    /// True once cells of the sheet were released.
    bool released() const { return released_; }

    /// Gives every column from `first` to `last` (0-based) whose width was never set the width of
    /// its longest value (a wide character counting two, the longest line of a text of several),
    /// when that is more than the default width. Values merged across several columns and
    /// formulas, whose results are short numbers, do not count.
    void fitColumnWidths(int first, int last);
    /// The number of columns in use: the last column of any row's cells + 1.
    int usedColumnCount() const;
    /// The width of the columns in use in points, as they print with the default font (the default
    /// width where none was set).
    double usedWidthPoints() const;

  private:
    Cell& create(int row, int column);
    std::vector<std::vector<Cell>> rows_;
    TextStore texts_;
    bool released_ = false;
    std::unordered_map<uint64_t, size_t> mergeByTopLeft_;  ///< index into merges
};

/// A workbook: its sheets in tab order, the active sheet and the number formats in use.
class WorkbookModel {
  public:
    /// A new workbook with three sheets named Sheet1 … Sheet3 and the first active.
    WorkbookModel();

    int sheetCount() const { return static_cast<int>(sheets_.size()); }
    /// The sheet at a 1-based position (tab order), or nullptr.
    SheetModel* sheet(int position);
    const SheetModel* sheet(int position) const;
    /// The first sheet with that name, or nullptr.
    const SheetModel* sheetNamed(std::string_view name) const;

    /// Inserts `count` new sheets before the active sheet; the first inserted becomes active.
    void addSheetsBeforeActive(int count);
    int activeSheet() const { return active_; }  ///< 1-based
    void activate(int position);

    /// Registers a number format and returns its index for Cell::numberFormat.
    uint16_t numberFormatIndex(std::string_view format);
    const std::vector<std::string>& numberFormats() const { return numberFormats_; }

    /// Computes the cached result of every formula cell.
    void recalculate();
    /// True once the cells of any sheet were released (by a save that was told to).
    bool cellsReleased() const;

  private:
    std::vector<std::unique_ptr<SheetModel>> sheets_;
    int active_ = 1;
    int nextSheetNumber_ = 4;
    std::vector<std::string> numberFormats_;
};

/// Evaluates one formula ("=…") in a sheet; formula cells it refers to are evaluated as needed.
/// References to other sheets ('name'!A1) are read from `workbook`, when given.
Value evaluateFormula(const SheetModel& sheet, std::string_view formula,
                      const WorkbookModel* workbook = nullptr);

}  // namespace varnex
