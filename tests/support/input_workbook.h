#pragma once
// Writing a small input workbook (.xlsx) through our own writer, for tests that need a sheet no
// committed fixture holds. Header-only; a test target that includes it links varnex_workbook
// (varnex_import brings it).

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "workbook/cell_name.h"
#include "workbook/excel_session.h"
#include "workbook/workbook_file.h"

namespace varnex::testing {

using InputSheet = std::pair<std::string, std::vector<std::vector<std::string>>>;

/// One sheet per entry, its rows of cell texts from A1 (texts that read as numbers are stored as
/// numbers, as typed into a spreadsheet).
inline void writeInputWorkbook(const std::string& path, const std::vector<InputSheet>& sheets) {
    ExcelSession session;
    session.AddWorkbook(OmittedArgument);
    // A new workbook has three sheets; the others are added (blank, before the active sheet) first,
    // so that sheet i + 1 is the i-th entry.
    if (sheets.size() > 3) session.AddSheets(static_cast<int>(sheets.size() - 3));
    for (size_t i = 0; i < sheets.size(); ++i) {
        ExcelSheet sheet = session.Sheet(static_cast<int>(i) + 1);
        sheet.SetName(sheets[i].first);
        const auto& rows = sheets[i].second;
        for (size_t r = 0; r < rows.size(); ++r) {
            for (size_t c = 0; c < rows[r].size(); ++c) {
                std::string at = CellName(static_cast<int>(c), static_cast<int>(r) + 1);
                sheet.Range(at, at).SetValue(rows[r][c]);
            }
        }
    }
    SaveTarget target;
    target.exactPath = path;
    Result<std::string> saved = saveWorkbook(session.workbook(), target);
    ASSERT_TRUE(saved) << saved.error();
}

}  // namespace varnex::testing
