#pragma once
// The registry of built-in workbook readers and the choice among them, made once per opened
// workbook (and per template generation). The reader's description is kept in
// AppState::workbook.driverName.

#include <string>
#include <vector>

#include "base/result.h"

namespace varnex {

/// Name searched for the reader of old .xls/.et files only.
inline constexpr const char* kXlsReaderName = "Varnex workbook reader (*.xls)";
/// Name searched for the reader that also reads .xlsx.
inline constexpr const char* kXlsxReaderName = "Varnex workbook reader (*.xls, *.xlsx, *.et)";

/// The descriptions of the readers built into this program.
const std::vector<std::string>& builtInReaders();

/// The first description in `installed` that contains `name` (exact, case-sensitive), or "".
std::string findInstalledDriver(const std::vector<std::string>& installed, const std::string& name);

/// Chooses a reader: the .xlsx-capable one when installed, else the .xls one. On success
/// `driverName` holds the choice. A failure carries the message for a plain box: no reader at
/// all (`driverName` unchanged), or `requireXlsx` without the .xlsx-capable reader (`driverName`
/// already holds the .xls reader).
Status chooseSpreadsheetDriver(std::string& driverName, bool requireXlsx,
                               const std::vector<std::string>& installed = builtInReaders());

}  // namespace varnex
