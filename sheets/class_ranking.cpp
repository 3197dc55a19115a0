#include "sheets/class_ranking.h"

#include "base/text_util.h"
#include "sheets/ranking_rows.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

ClassRankingListing::ClassRankingListing(const AppState& state)
    : listings_(selectByClass(state.students, state.imported.classList)) {}

void ClassRankingListing::moveListedRows(RowTable& students) const {
    std::vector<int> rows;
    for (const auto& listing : listings_) {
        for (const auto& placed : listing) rows.push_back(placed.row);
    }
    moveListedRowsToBottom(students, rows);
}

void writeClassSheet(ExcelSheet& sheet, const AppState& state, const ClassRankingListing& listing,
                     size_t classIndex, const std::string& title) {
    RankingColumns columns(state, false);
    writeTitleRow(sheet, columns.lastColumn(), title);
    columns.writeHeaders(sheet, state);
    const auto& rows = listing.rowsOf(classIndex);
    for (size_t i = 0; i < rows.size(); ++i)
        columns.writeRow(sheet, 4 + static_cast<int>(i), state.students, rows[i], static_cast<int>(i) + 1);
}

void writeAllClassesSheet(ExcelSheet& sheet, const AppState& state, const ClassRankingListing& listing,
                          const std::string& title, const std::function<void(const std::string&)>& logLine) {
    RankingColumns columns(state, true);
    writeTitleRow(sheet, columns.lastColumn(), title);
    columns.writeHeaders(sheet, state);
    const ClassList& classes = state.imported.classList;
    int sheetRow = 4;
    for (size_t c = 0; c < classes.size(); ++c) {
        auto [school, klass] = classes.parts(c);
        logLine(strprintf(tx::kClassLogFormat, school.c_str(), klass.c_str()));
        const auto& rows = listing.rowsOf(c);
        for (size_t i = 0; i < rows.size(); ++i)
            columns.writeRow(sheet, sheetRow++, state.students, rows[i], static_cast<int>(i) + 1);
    }
}

}  // namespace varnex
