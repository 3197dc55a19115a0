#pragma once
// Reads every row of every sheet of a workbook, as the fuzz targets do with any input.

#include <string>

#include "import/workbook_reader.h"

namespace varnex {

inline void readEverything(WorkbookReader* reader) {
    if (reader == nullptr) return;
    std::string error;
    for (size_t i = 0; i < reader->sheetNames().size(); ++i) {
        auto stream = reader->openSheet(i, error);
        if (stream == nullptr) continue;
        SheetRow row;
        while (stream->next(row, error)) {
        }
    }
}

}  // namespace varnex
