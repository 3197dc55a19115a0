#include "sheets/rank_bands.h"

#include <algorithm>
#include <vector>

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

    // A part's own workbook lists the bands that hold its school's students: with 200,000 students
    // a school of a few hundred has them in a few hundred of twenty thousand bands.
    std::vector<int> shownBands;
    for (int k = 0; k < bands; ++k) {
        const bool holds = std::any_of(shown.begin(), shown.end(), [&](size_t school) {
            return counts.ofSchool[school][static_cast<size_t>(k)].inBand > 0;
        });
        if (scope.wholeExam() || holds) shownBands.push_back(k);
    }

    writeTitleRow(sheet, withAll ? schoolCount + 1 : schoolCount, title);
    writeBoxedCell(sheet, 0, 3, tx::kTotalRankBands, 15);
    writeCumulativeHeaders(sheet, 1, schools, withAll);
    for (size_t r = 0; r < shownBands.size(); ++r) {
        const int first = 10 * shownBands[r] + 1;
        const int last = first + 9 < n ? first + 9 : n;
        writeBoxedCell(sheet, 0, static_cast<int>(r) + 4, strprintf(tx::kRankBandFormat, first, last));
    }

    auto countCell = [](const BandCount& c) { return countCellText(c.inBand, c.cumulative); };
    for (size_t r = 0; r < shownBands.size(); ++r) {
        const size_t k = static_cast<size_t>(shownBands[r]);
        for (int i = 0; i < schoolCount; ++i)
            writeBoxedCell(sheet, 1 + i, static_cast<int>(r) + 4,
                           countCell(counts.ofSchool[shown[static_cast<size_t>(i)]][k]));
    }
    if (withAll) {
        for (size_t r = 0; r < shownBands.size(); ++r)
            writeBoxedCell(sheet, 1 + schoolCount, static_cast<int>(r) + 4,
                           countCell(counts.ofAll[static_cast<size_t>(shownBands[r])]));
    }
}

}  // namespace varnex
