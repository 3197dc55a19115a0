#include "sheets/ranking_rows.h"

#include "analysis/analysis_texts.h"
#include "base/text_util.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

RankingColumns::RankingColumns(const AppState& state, bool withSchoolAndClass)
    : withSchoolAndClass_(withSchoolAndClass),
      firstSubject_(withSchoolAndClass ? 4 : 2),
      subjects_(examSubjectNames(state)) {
    for (const auto& name : subjects_) subjectColumns_.push_back(columnOfSubject(name));
}

void RankingColumns::writeHeaders(ExcelSheet& sheet, const AppState& state) const {
    writeBoxedCell(sheet, 0, 3, tx::kSerial, 5);
    if (withSchoolAndClass_) {
        writeBoxedCell(sheet, 1, 3, tx::kSchool);
        writeBoxedCell(sheet, 2, 3, tx::kClass);
    }
    writeBoxedCell(sheet, firstSubject_ - 1, 3, tx::kName);
    int column = firstSubject_;
    for (const auto& name : subjects_) {
        writeBoxedCell(sheet, column++, 3,
                       strprintf(tx::kHeaderWithMarkFormat, name.c_str(), state.scores.fullMarkOf(name)));
    }
    writeBoxedCell(sheet, column++, 3,
                   strprintf(tx::kHeaderWithMarkFormat, kTotalName, state.imported.examFullMarkTotal));
    writeBoxedCell(sheet, column, 3, tx::kPlace);
}

void RankingColumns::writeRow(ExcelSheet& sheet, int sheetRow, const RowTable& students,
                              const PlacedRow& placed, int serial) const {
    writeBoxedCell(sheet, 0, sheetRow, std::to_string(serial));
    if (withSchoolAndClass_) {
        writeBoxedCell(sheet, 1, sheetRow, students.cellText(placed.row, 0));
        // "（" class "）班", joined without a format for speed: this runs once per listed student.
        std::string klass = analysis_texts::kOpenBracket;
        klass += students.cellText(placed.row, 1);
        klass += analysis_texts::kCloseClass;
        writeBoxedCell(sheet, 2, sheetRow, klass);
    }
    writeBoxedCell(sheet, firstSubject_ - 1, sheetRow, students.cellText(placed.row, 2));
    int column = firstSubject_;
    for (int tableColumn : subjectColumns_)
        writeBoxedCell(sheet, column++, sheetRow, students.cellText(placed.row, tableColumn));
    writeBoxedCell(sheet, column++, sheetRow, students.cellText(placed.row, kTotalColumn));
    writeBoxedCell(sheet, column, sheetRow, std::to_string(placed.place));
}

}  // namespace varnex
