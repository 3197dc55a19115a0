#pragma once
// Saving a finished workbook model as an .xlsx file.

#include <string>

#include "base/result.h"
#include "workbook/workbook_model.h"

namespace varnex {

/// Where a workbook goes: either an exact path, or a folder and a base name to which ".xlsx" is
/// added (" (2)", " (3)" … before the extension when the name is taken).
struct SaveTarget {
    std::string folder;
    std::string baseName;
    std::string exactPath;   ///< when not empty, used as it is
    bool overwrite = false;  ///< with exactPath: replace an existing file
    /// The workbook is not read after the save: its cells are released as they are written (see
    /// writeXlsxReleasing). A failure before writing began leaves them as they were.
    bool releaseCells = false;
};

/// The output path when one was asked for (replaced only with `overwrite`), otherwise a new file
/// named after `baseName` in `folder`.
SaveTarget saveTargetFor(const std::string& outputPath, bool overwrite, const std::string& folder,
                         const std::string& baseName);

/// Computes the formulas' cached results and writes the workbook through a temporary file that is
/// renamed when complete; a failed write leaves no file behind. The path of the file written, or a
/// message naming the path and the reason. With `releaseCells` the workbook's cells may be gone
/// afterwards, even when the save failed (WorkbookModel::cellsReleased() tells).
Result<std::string> saveWorkbook(WorkbookModel& workbook, const SaveTarget& target);

/// A saved file's path as the user is told it: absolute, otherwise as written (" (2)" included).
std::string fullPathOf(const std::string& path);

/// The user's documents folder (XDG documents folder, else ~/Documents when it exists, else ~).
std::string documentsFolder();

}  // namespace varnex
