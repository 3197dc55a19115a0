#pragma once
// Writing a WorkbookModel as an .xlsx file with libxlsxwriter.

#include <xlsxwriter.h>

#include <string>

#include "base/result.h"
#include "workbook/workbook_model.h"

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

/// Writes the model to `path` (formulas with the results the model holds: recalculate first).
/// Sheets in tab order with their names and visibility, the first visible sheet active, column
/// widths, merged areas, and one format per distinct combination of borders, alignment and number
/// format. The written file is read back to make sure every part is complete. A failure is the
/// reason, worded for the user without the path (a full disk, the sheet and cell whose data the
/// file cannot hold, …); the file at `path` may then be incomplete, and the caller removes it.
Status writeXlsx(const WorkbookModel& model, const std::string& path, const std::string& tmpdir = {});

/// The same for a model that nobody reads afterwards: its formulas are computed first, then each
/// sheet's cells are released as they go into the file, so that the model and the writer never
/// both hold the whole workbook. The sheets keep their names, widths, merged areas, print setup,
/// links and charts.
Status writeXlsxReleasing(WorkbookModel& model, const std::string& path, const std::string& tmpdir = {});

/// The reason for a file-system failure (an errno) while saving, worded for the user.
std::string fileErrorReason(int error);

}  // namespace varnex
