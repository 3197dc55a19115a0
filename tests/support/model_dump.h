#pragma once
// A text dump of a workbook model: every sheet with its layout, print setup, links, charts and
// every written cell with its value, format and alignment, one fact a line, so that two builds of
// the same workbook can be compared line by line and their differences read.

#include <string>

#include "workbook/workbook_model.h"

namespace varnex::testing {

/// The whole workbook as text. The same model always gives the same text; numbers are printed
/// with enough digits to tell any two doubles apart.
std::string dumpWorkbook(const WorkbookModel& workbook);

/// One sheet, as dumpWorkbook writes it (number formats by their text, looked up in `workbook`).
std::string dumpSheet(const SheetModel& sheet, const WorkbookModel& workbook);

}  // namespace varnex::testing
