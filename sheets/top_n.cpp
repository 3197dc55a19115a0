#include "sheets/top_n.h"

#include "sheets/ranking_rows.h"
#include "sheets/sheet_cells.h"

namespace varnex {

void writeTopN(ExcelSheet& sheet, const Exam& exam, const std::vector<PlacedRow>& listing,
               const std::string& title) {
    RankingColumns columns(exam, true);
    writeRankingHead(sheet, exam, columns.lastColumn(), title);
    columns.writeHeaders(sheet);
    for (size_t i = 0; i < listing.size(); ++i)
        columns.writeRow(sheet, 4 + static_cast<int>(i), listing[i], static_cast<int>(i) + 1);
}

}  // namespace varnex
