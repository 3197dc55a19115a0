#pragma once
// Reads whole sheets through the readers for comparison in tests.

#include <string>
#include <vector>

#include "readers/workbook_reader.h"

namespace varnex::testing {

/// One row as "N: a|b|c" with trailing empty cells left out.
inline std::string rowText(const SheetRow& row) {
    size_t used = row.cells.size();
    while (used > 0 && row.cells[used - 1].empty()) --used;
    std::string text = std::to_string(row.number) + ":";
    for (size_t i = 0; i < used; ++i) text += (i == 0 ? " " : "|") + row.cells[i];
    return text;
}

/// Every row of the named sheet; a last entry "ERROR: …" when reading failed.
inline std::vector<std::string> readSheet(WorkbookReader& reader, const std::string& sheet) {
    std::vector<std::string> rows;
    const auto& names = reader.sheetNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] != sheet) continue;
        auto stream = reader.openSheet(i);
        if (!stream) return {"ERROR: " + stream.error()};
        SheetRow row;
        for (;;) {
            Result<bool> got = (*stream)->next(row);
            if (!got) rows.push_back("ERROR: " + got.error());
            if (!got || !*got) return rows;
            rows.push_back(rowText(row));
        }
    }
    return {"ERROR: no sheet " + sheet};
}

}  // namespace varnex::testing
