#pragma once
// The reading baseline the import benchmarks share: selected columns of every row of one sheet
// through SheetQuery, each field looked at.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "import/sheet_query.h"

namespace varnex::bench {

/// What one pass read.
struct ColumnsRead {
    size_t rows = 0;
    size_t bytes = 0;  ///< of all the fields' texts
};

/// Reads `columns` of every row of `sheet`; ends the benchmark when the sheet cannot be read.
inline ColumnsRead queryColumns(const std::string& path, const std::string& sheet,
                                const std::vector<std::string>& columns) {
    SheetQuery query;
    Status opened = query.open(path);
    if (opened) opened = query.select(sheet, columns);
    if (!opened) {
        std::fprintf(stderr, "query failed: %s\n", opened.error().c_str());
        std::exit(1);
    }
    ColumnsRead read;
    while (!query.atEnd()) {
        for (size_t i = 0; i < columns.size(); ++i) read.bytes += query.field(i).size();
        ++read.rows;
        if (!query.next()) break;
    }
    return read;
}

}  // namespace varnex::bench
