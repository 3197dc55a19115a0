#pragma once
// The reader of XML Spreadsheet 2003 documents (<Workbook xmlns="urn:schemas-microsoft-com:
// office:spreadsheet">), which many marking systems and WPS write under an .xls name: expat over
// the file, each worksheet read one row at a time.

#include <memory>
#include <string>

#include "base/result.h"
#include "readers/workbook_reader.h"

namespace varnex {

/// Opens an XML spreadsheet file; the message names the file when it cannot be read.
Result<std::unique_ptr<WorkbookReader>> openXmlSpreadsheet(const std::string& path);
/// Opens an XML spreadsheet held in memory (which must outlive the reader); `displayName` is used
/// in messages.
Result<std::unique_ptr<WorkbookReader>> openXmlSpreadsheetFromMemory(const void* data, size_t size,
                                                                     const std::string& displayName);

}  // namespace varnex
