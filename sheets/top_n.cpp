#include "sheets/top_n.h"

#include "analysis/student_order.h"
#include "sheets/ranking_rows.h"
#include "sheets/sheet_cells.h"

namespace varnex {

void writeTopN(ExcelSheet& sheet, AppState& state, const std::string& title) {
    RankingColumns columns(state, true);
    writeTitleRow(sheet, columns.lastColumn(), title);
    columns.writeHeaders(sheet, state);

    std::vector<PlacedRow> listed = selectTopN(state.students, state.exportOptions.topN);
    std::vector<int> rows;
    rows.reserve(listed.size());
    for (size_t i = 0; i < listed.size(); ++i) {
        columns.writeRow(sheet, 4 + static_cast<int>(i), state.students, listed[i], static_cast<int>(i) + 1);
        rows.push_back(listed[i].row);
    }
    moveListedRowsToBottom(state.students, rows);
}

}  // namespace varnex
