#pragma once
// The .xls reader (also for compound-file .et files): libgsf for the compound file, our own
// record reader for BIFF8 ("Workbook" stream) and BIFF5 ("Book" stream).

#include <memory>
#include <string>

#include "import/workbook_reader.h"

namespace varnex {

/// Opens a compound-file workbook; null with a Chinese `error` naming the file on failure.
std::unique_ptr<WorkbookReader> openXlsWorkbook(const std::string& path, std::string& error);
/// Opens a compound-file workbook held in memory (which must outlive the reader).
std::unique_ptr<WorkbookReader> openXlsWorkbookFromMemory(const void* data, size_t size,
                                                          const std::string& displayName, std::string& error);

}  // namespace varnex
