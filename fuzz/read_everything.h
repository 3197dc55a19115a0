#pragma once
// Reads every row of every sheet of a workbook, as the fuzz targets do with any input.

#include <string>

#include "readers/workbook_reader.h"

namespace varnex {

inline void readEverything(const Result<std::unique_ptr<WorkbookReader>>& opened) {
    if (!opened) return;
    WorkbookReader& reader = **opened;
    for (size_t i = 0; i < reader.sheetNames().size(); ++i) {
        Result<std::unique_ptr<SheetRowStream>> stream = reader.openSheet(i);
        if (!stream) continue;
        SheetRow row;
        for (Result<bool> got = (*stream)->next(row); got && *got; got = (*stream)->next(row)) {
        }
    }
}

}  // namespace varnex
