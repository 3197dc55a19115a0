#pragma once
// The readers behind SheetQuery and openWorkbook: one interface for every reader (.xlsx, .xls,
// XML spreadsheets, web pages, CSV lists), and the choice between them by the file's content.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"

namespace varnex {

/// One row of a worksheet that holds at least one value.
struct SheetRow {
    uint32_t number = 0;             ///< 1-based sheet row
    std::vector<std::string> cells;  ///< texts by 0-based column; may be shorter than the sheet
};

/// Reads the rows of one worksheet in sheet order, without holding the sheet in memory.
class SheetRowStream {
  public:
    virtual ~SheetRowStream() = default;
    /// Reads the next row that holds a value (rows ascend; rows without any value are skipped):
    /// true with the row, false at the end of the sheet, or the message naming the sheet when it
    /// cannot be read further. Allocates nothing per row once the row's buffers have grown.
    virtual Result<bool> next(SheetRow& row) = 0;
    /// Only the marked columns need their text from now on; the others may stay "" (a row
    /// with a value only there is still returned). An empty list asks for every column.
    void setWantedColumns(std::vector<bool> wanted) { wanted_ = std::move(wanted); }

  protected:
    const std::vector<bool>& wantedColumns() const { return wanted_; }
    bool wanted(uint32_t column) const {
        return wanted_.empty() || (column < wanted_.size() && wanted_[column]);
    }
    /// Empties the cells of `row` for reuse (keeping their buffers).
    static void clearRow(SheetRow& row) {
        for (std::string& cell : row.cells) cell.clear();
    }
    /// The cell at `column`, growing the row as needed.
    static std::string& cellAt(SheetRow& row, uint32_t column) {
        if (column >= row.cells.size()) row.cells.resize(column + 1);
        return row.cells[column];
    }

  private:
    std::vector<bool> wanted_;
};

/// A workbook opened for reading.
class WorkbookReader {
  public:
    virtual ~WorkbookReader() = default;
    /// The worksheet names in workbook order (hidden sheets included, chart sheets left out).
    virtual const std::vector<std::string>& sheetNames() const = 0;
    /// Starts reading worksheet `index` of sheetNames().
    virtual Result<std::unique_ptr<SheetRowStream>> openSheet(size_t index) = 0;
};

/// What a file's beginning says it is.
enum class WorkbookFormat { Unrecognised, Compound, Zip, XmlSpreadsheet, WebPage };

/// Looks at the beginning of a file: an OLE2 compound file (.xls, .et), a ZIP package (.xlsx,
/// .et), an XML Spreadsheet 2003 document (its root Workbook in the spreadsheet namespace, or
/// announced by <?mso-application progid="Excel.Sheet"?>) or a web page (its first element is
/// one that begins a page or a table, or a DOCTYPE names html).
WorkbookFormat detectWorkbookFormat(const std::string& path);
/// The same for bytes in memory.
WorkbookFormat detectWorkbookFormat(const void* data, size_t size);

/// Opens a workbook with the reader its content asks for; a file that is none of the formats
/// above is read as a CSV list when its name ends in ".csv" (in any case). The message names
/// the file when it cannot be read or is not recognised.
Result<std::unique_ptr<WorkbookReader>> openWorkbookReader(const std::string& path);

}  // namespace varnex
