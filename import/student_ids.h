#pragma once
// The columns of a score sheet that number its students (考号, 学号), by which two exams of the
// same students can be matched.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "import/sheet_header.h"

namespace varnex {

/// Per kind of student number (kStudentIdColumns order), the sheet column that holds it.
struct StudentIdColumns {
    std::array<std::optional<uint32_t>, 2> columns;
    /// Set, and no column of that kind taken, when two columns look like the same kind
    /// (考号 and 准考证号): the message names the sheet and both columns.
    std::string problem;
};

/// Finds the student number columns in the header rows of `rows`, the sheet's first rows.
StudentIdColumns findStudentIdColumns(const std::vector<SheetRow>& rows, const SheetHeader& header,
                                      const std::string& sheetName);

}  // namespace varnex
