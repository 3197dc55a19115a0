#pragma once
// 分别导出: beside the whole result workbook, a folder named after it holding one workbook per
// school or per class. Each is written by the same sheet writers from the same figures as the
// whole workbook, with the rows of its school or class (SheetScope), so that its figures and
// places are the whole workbook's.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/frontend.h"
#include "base/result.h"
#include "sheets/report_sheets.h"

namespace varnex {

/// A school's or class's name as a file name every common file system takes: the characters
/// Windows refuses (< > : " / \ | ? * and control characters) become "_", blanks and dots at the
/// end and blanks at the start go, a name Windows reserves for a device (CON, NUL, COM1 …, also
/// with an extension) gets "_" after it, and a long name is cut at a character edge; "_" for a
/// name that leaves nothing.
std::string portableFileName(std::string_view name);

/// portableFileName of each name; a name equal to an earlier one once cleaned (letters compared
/// without case, as Windows and macOS compare them) gets " (2)", " (3)" ….
std::vector<std::string> portableFileNames(const std::vector<std::string>& names);

/// Makes the folder of the split workbooks beside `savedPath`: its path without ".xlsx", or with
/// " (2)", " (3)" … when that name is taken; an existing folder is never used. Its path.
Result<std::string> makeSplitFolder(const std::string& savedPath);

/// What the split wrote.
struct SplitOutcome {
    std::string folder;
    int files = 0;
};

/// Writes one workbook per school (SchoolList, each school once) or per class (ClassList) of the
/// work's exam into a new folder beside `savedPath`, each with the sheets of its plan for that
/// part, sharing the work's figures; `progress` hears each file's name and number. On a failure
/// the files already written and the folder are removed, and the failure is returned.
Result<SplitOutcome> writeSplitFiles(const SheetWork& work, SplitFiles split, const std::string& savedPath,
                                     const std::function<void(const std::string&, int, int)>& progress);

}  // namespace varnex
