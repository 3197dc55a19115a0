#include "sheets/rank_bands.h"

#include "analysis/bands.h"
#include "base/text_util.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

void writeRankBands(ExcelSheet& sheet, const Exam& exam, const std::string& title) {
    writeScopedRankBands(sheet, exam, rankBandCounts(exam), title, SheetScope());
}

void writeScopedRankBands(ExcelSheet& sheet, const Exam& exam, const BandTable& counts,
                          const std::string& title, const SheetScope& scope) {
    const std::vector<size_t> shown = scope.shownSchools(exam.imported().schoolList);
    std::vector<std::string> schools;
    for (size_t k : shown) schools.push_back(exam.imported().schoolList[k]);
    const int n = exam.studentCount();
    const int schoolCount = static_cast<int>(schools.size());
    const bool withAll = scope.showsWholeExam(exam.imported().schoolList.size());
    const int bands = rankBandCount(n);

    writeTitleRow(sheet, withAll ? schoolCount + 1 : schoolCount, title);
    writeBoxedCell(sheet, 0, 3, tx::kTotalRankBands, 15);
    writeCumulativeHeaders(sheet, 1, schools, withAll);
    for (int k = 0; k < bands; ++k) {
        const int first = 10 * k + 1;
        const int last = first + 9 < n ? first + 9 : n;
        writeBoxedCell(sheet, 0, k + 4, strprintf(tx::kRankBandFormat, first, last));
    }

    auto countCell = [](const BandCount& c) { return countCellText(c.inBand, c.cumulative); };
    for (int k = 0; k < bands; ++k) {
        for (int i = 0; i < schoolCount; ++i)
            writeBoxedCell(sheet, 1 + i, k + 4,
                           countCell(counts.ofSchool[shown[static_cast<size_t>(i)]][static_cast<size_t>(k)]));
    }
    if (withAll) {
        for (int k = 0; k < bands; ++k)
            writeBoxedCell(sheet, 1 + schoolCount, k + 4, countCell(counts.ofAll[static_cast<size_t>(k)]));
    }
}

}  // namespace varnex
