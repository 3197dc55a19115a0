#pragma once
// The reader of CSV score lists: one worksheet named after the file, fields as RFC 4180 writes
// them (quoted fields may hold commas, doubled quotes and line breaks; lines end in CRLF or LF),
// the text in UTF-8 (with or without a byte-order mark) or GB18030, whichever the bytes are.

#include <memory>
#include <string>

#include "base/result.h"
#include "readers/workbook_reader.h"

namespace varnex {

/// Opens a CSV file; the message names the file when it cannot be read.
Result<std::unique_ptr<WorkbookReader>> openCsvWorkbook(const std::string& path);
/// Opens CSV text held in memory as if it were the file `fileName`.
Result<std::unique_ptr<WorkbookReader>> openCsvWorkbookFromMemory(const void* data, size_t size,
                                                                  const std::string& fileName);

}  // namespace varnex
