#pragma once
// The .xlsx reader (also for zip-based .et files): libzip for the package, expat for the XML,
// each worksheet read one row at a time.

#include <memory>
#include <string>

#include "readers/workbook_reader.h"

namespace varnex {

/// Opens an .xlsx package; a failure's message names the file.
Result<std::unique_ptr<WorkbookReader>> openXlsxWorkbook(const std::string& path);
/// How many worksheets were read in two halves at once since the program started (for tests).
size_t worksheetsReadInTwoHalves();

/// Opens an .xlsx package held in memory (which must outlive the reader); `displayName` is
/// used in messages.
Result<std::unique_ptr<WorkbookReader>> openXlsxWorkbookFromMemory(const void* data, size_t size,
                                                                   const std::string& displayName);

}  // namespace varnex
