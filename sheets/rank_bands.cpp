#include "sheets/rank_bands.h"

#include "analysis/band_counts.h"
#include "analysis/student_order.h"
#include "base/text_util.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

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
    writeCumulativeHeaders(sheet, 1, schools);
    for (int k = 0; k < bands; ++k) {
        int first = 10 * k + 1;
        int last = k < fullBands ? first + 9 : n;
        writeBoxedCell(sheet, 0, k + 4, strprintf(tx::kRankBandFormat, first, last));
    }

    // A rank p lies in band (p − 1) / 10: count each group's rows per band once, then the
    // cumulative counts are running sums. The partial band takes every place from its first on,
    // which are exactly the ranks that fall into it.
    std::vector<int> ranks = competitionRanks(columnValues(students, kTotalColumn));
    SchoolGroups groups(students, schools);
    const size_t stride = static_cast<size_t>(bands);
    const size_t all = static_cast<size_t>(groups.groupCount());
    std::vector<int> inBand(stride * (all + 1), 0);
    for (int row = 0; row < n; ++row) {
        size_t band = static_cast<size_t>((ranks[static_cast<size_t>(row)] - 1) / 10);
        int group = groups.groupOfRow(row);
        if (group >= 0) ++inBand[static_cast<size_t>(group) * stride + band];
        ++inBand[all * stride + band];
    }
    std::vector<int> upToEnd(inBand.size());
    for (size_t g = 0; g <= all; ++g) {
        int sum = 0;
        for (size_t k = 0; k < stride; ++k) upToEnd[g * stride + k] = sum += inBand[g * stride + k];
    }
    auto countCell = [&](size_t group, int k) {
        size_t at = group * stride + static_cast<size_t>(k);
        return countCellText(inBand[at], upToEnd[at]);
    };
    for (int k = 0; k < bands; ++k) {
        for (int i = 0; i < schoolCount; ++i) {
            writeBoxedCell(sheet, 1 + i, k + 4,
                           countCell(static_cast<size_t>(groups.groupOfSchool(static_cast<size_t>(i))), k));
        }
    }
    if (withAll) {
        for (int k = 0; k < bands; ++k) writeBoxedCell(sheet, 1 + schoolCount, k + 4, countCell(all, k));
    }
}

}  // namespace varnex
