#pragma once
// The reader of web pages that marking systems save under an .xls name: every <table> of the page
// is a worksheet, read with libxml2's HTML parser. Cells are their text as the page shows it
// (trimmed, entities decoded); a cell spanning rows or columns shows its text in its first cell
// and pushes the cells after it as a spreadsheet application lays the table out.

#include <memory>
#include <string>

#include "base/result.h"
#include "readers/workbook_reader.h"

namespace varnex {

/// Opens a web page; the message names the file when it cannot be read or holds no table.
Result<std::unique_ptr<WorkbookReader>> openWebPage(const std::string& path);
/// Opens a web page held in memory; `displayName` is used in messages.
Result<std::unique_ptr<WorkbookReader>> openWebPageFromMemory(const void* data, size_t size,
                                                              const std::string& displayName);

}  // namespace varnex
