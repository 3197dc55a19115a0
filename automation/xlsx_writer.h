#pragma once
// Writing a WorkbookModel as an .xlsx file with libxlsxwriter.

#include <xlsxwriter.h>

#include <string>

#include "automation/workbook_model.h"

namespace varnex {

/// An open libxlsxwriter workbook that is written and freed exactly once: by close(), which reports
/// the error, or else by the destructor, which discards it without writing anything.
class XlsxWorkbook {
  public:
    /// A workbook that close() writes to `path`; its temporary files go to `tmpdir` ("" for the
    /// system's). isOpen() is false when libxlsxwriter could not create it.
    XlsxWorkbook(const std::string& path, const std::string& tmpdir);
    ~XlsxWorkbook();
    XlsxWorkbook(XlsxWorkbook&& other) noexcept;
    XlsxWorkbook& operator=(XlsxWorkbook&& other) noexcept;
    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    bool isOpen() const { return workbook_ != nullptr; }
    lxw_workbook* get() const { return workbook_; }

    /// Writes the file and frees the workbook; LXW_NO_ERROR on success. A second call does nothing
    /// and returns LXW_ERROR_NULL_PARAMETER_IGNORED.
    lxw_error close();

  private:
    lxw_workbook* workbook_ = nullptr;
};

/// What went wrong while writing a file.
struct XlsxWriteError {
    lxw_error code = LXW_NO_ERROR;
    int systemError = 0;      ///< errno seen with the failure, 0 when none
    std::string detail;       ///< where it happened (sheet and cell) and libxlsxwriter's description
    bool incomplete = false;  ///< the file was written but a part of it is cut short (detail: the part)
    explicit operator bool() const { return code != LXW_NO_ERROR; }
};

/// Writes the model to `path` (formulas with the results the model holds: recalculate first).
/// Sheets in tab order with their names and visibility, the first visible sheet active, column
/// widths, merged areas, and one format per distinct combination of borders, alignment and number
/// format. The written file is read back to make sure every part is complete. On failure the file
/// at `path` may be incomplete; the caller removes it.
XlsxWriteError writeXlsx(const WorkbookModel& model, const std::string& path, const std::string& tmpdir = {});

}  // namespace varnex
