#include "sheets/class_ranking.h"

#include "base/text_util.h"
#include "sheets/ranking_rows.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

void writeClassSheet(ExcelSheet& sheet, const Exam& exam, const std::vector<PlacedRow>& listing,
                     const std::string& title, const ExamLevels* levels) {
    RankingColumns columns(exam, false, levels);
    writeRankingHead(sheet, exam, columns.lastColumn(), title, levels);
    columns.writeHeaders(sheet);
    for (size_t i = 0; i < listing.size(); ++i)
        columns.writeRow(sheet, 4 + static_cast<int>(i), listing[i], static_cast<int>(i) + 1);
}

void writeAllClassesSheet(ExcelSheet& sheet, const Exam& exam,
                          const std::vector<std::vector<PlacedRow>>& listings, const std::string& title,
                          const std::function<void(const std::string&)>& logLine, const SheetScope& scope,
                          const ExamLevels* levels) {
    RankingColumns columns(exam, true, levels);
    writeRankingHead(sheet, exam, columns.lastColumn(), title, levels);
    columns.writeHeaders(sheet);
    const ClassList& classes = exam.imported().classList;
    int sheetRow = 4;
    for (size_t c = 0; c < classes.size(); ++c) {
        auto [school, klass] = classes.parts(c);
        if (!scope.showsClass(school, klass)) continue;
        logLine(strprintf(tx::kClassLogFormat, school.c_str(), klass.c_str()));
        const std::vector<PlacedRow>& listing = listings[c];
        for (size_t i = 0; i < listing.size(); ++i)
            columns.writeRow(sheet, sheetRow++, listing[i], static_cast<int>(i) + 1);
    }
}

}  // namespace varnex
