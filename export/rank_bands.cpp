#include "export/rank_bands.h"

#include "app/text_util.h"
#include "export/band_counts.h"
#include "export/export_texts.h"
#include "export/sheet_cells.h"
#include "export/student_order.h"

namespace varnex {

namespace tx = exporttext;

void writeRankBands(ExcelSheet& sheet, const AppState& state, const std::string& title) {
    const RowTable& students = state.students;
    const std::vector<std::string>& schools = state.imported.schoolList;
    const int n = students.rowCount();
    const int schoolCount = static_cast<int>(schools.size());
    const bool withAll = schoolCount >= 2;
    const int fullBands = n / 10;
    const int rest = n % 10;
    const int bands = fullBands + (rest != 0 ? 1 : 0);

    writeTitleRow(sheet, withAll ? schoolCount + 1 : schoolCount, title);
    writeBoxedCell(sheet, 0, 3, tx::kTotalRankBands, 15);
    for (int i = 0; i < schoolCount; ++i) {
        writeBoxedCell(sheet, 1 + i, 3,
                       strprintf(tx::kCumulativeHeaderFormat, schools[static_cast<size_t>(i)].c_str(), tx::kCumulative),
                       11);
    }
    if (withAll) {
        writeBoxedCell(sheet, 1 + schoolCount, 3,
                       strprintf(tx::kCumulativeHeaderFormat, tx::kAllSchools, tx::kCumulative), 11);
    }
    for (int k = 0; k < bands; ++k) {
        int first = 10 * k + 1;
        int last = k < fullBands ? first + 9 : n;
        writeBoxedCell(sheet, 0, k + 4,
                       strprintf(tx::kRankBandFormat, tx::kRankBandBefore, first, tx::kArrow, last, tx::kRankBandAfter));
    }

    std::vector<int> ranks = competitionRanks(columnValues(students, kTotalColumn));
    std::vector<double> rankValues(ranks.begin(), ranks.end());
    SchoolGroups groups(students, schools);
    SchoolGroups::Counts counts = groups.sortedBy(rankValues);

    // Band k holds places first … first + 9; the partial band every place from first on.
    auto countCell = [&](const SortedValues& ranksOf, int k) {
        double first = 10.0 * k + 1;
        int inBand = k < fullBands ? ranksOf.countInRange(first, first + 10) : ranksOf.countInRange(first, first + rest + 1);
        int upToEnd = ranksOf.countBelow(first + 10);
        return strprintf(tx::kCountFormat, inBand, upToEnd);
    };
    for (int k = 0; k < bands; ++k) {
        for (int i = 0; i < schoolCount; ++i) {
            writeBoxedCell(sheet, 1 + i, k + 4,
                           countCell(counts.perGroup[static_cast<size_t>(groups.groupOfSchool(static_cast<size_t>(i)))], k));
        }
    }
    if (withAll) {
        for (int k = 0; k < bands; ++k) writeBoxedCell(sheet, 1 + schoolCount, k + 4, countCell(counts.all, k));
    }
}

}  // namespace varnex
