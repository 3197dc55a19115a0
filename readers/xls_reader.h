#pragma once
// The .xls reader (also for compound-file .et files): libgsf for the compound file, our own
// record reader for BIFF8 ("Workbook" stream) and BIFF5 ("Book" stream).

#include <memory>
#include <string>

#include "readers/workbook_reader.h"

namespace varnex {

/// Opens a compound-file workbook; a failure's message names the file.
Result<std::unique_ptr<WorkbookReader>> openXlsWorkbook(const std::string& path);
/// Opens a compound-file workbook held in memory (which must outlive the reader).
Result<std::unique_ptr<WorkbookReader>> openXlsWorkbookFromMemory(const void* data, size_t size,
                                                                  const std::string& displayName);

}  // namespace varnex
