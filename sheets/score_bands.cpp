#include "sheets/score_bands.h"

#include "analysis/band_counts.h"
#include "base/text_util.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

long long scoreBandCount(int fullMark) {
    long long count = fullMark / 10 + (fullMark % 10 == 0 ? 1 : 2);
    return count < 1 ? 0 : count;
}

std::vector<ScoreBand> scoreBands(int fullMark) {
    const int rest = fullMark % 10;
    const long long count = scoreBandCount(fullMark);
    std::vector<ScoreBand> bands;
    if (count < 1) return bands;
    bands.resize(static_cast<size_t>(count));
    for (long long j = 0; j < count; ++j) {
        ScoreBand& b = bands[static_cast<size_t>(j)];
        if (j == count - 1) {
            b.low = fullMark;
            b.high = static_cast<double>(fullMark) + 10;
            b.label = strprintf(tx::kFullMarkBandFormat, fullMark);
            continue;
        }
        b.low = static_cast<int>(10 * j);
        int width = rest != 0 && j == count - 2 ? rest : 10;
        b.high = static_cast<double>(b.low) + width;
        b.label = strprintf(tx::kScoreBandFormat, b.low, b.low + width - 1);
    }
    return bands;
}

std::vector<double> bandEdges(const std::vector<ScoreBand>& bands) {
    std::vector<double> edges;
    edges.reserve(2 * bands.size());
    for (const auto& b : bands) {
        edges.push_back(b.low);
        edges.push_back(b.high);
    }
    return edges;
}

int scoreBandRow(int bandCount, int band) {
    return bandCount + 3 - band;
}

Status writeScoreBands(ExcelSheet& sheet, const AppState& state, const std::string& title) {
    const std::vector<std::string>& schools = state.imported.schoolList;
    const int schoolCount = static_cast<int>(schools.size());
    const bool withAll = schoolCount >= 2;
    const int fullMark = state.imported.examFullMarkTotal;
    if (scoreBandCount(fullMark) + 3 > kMaxSheetRows) {
        return fail(strprintf(tx::kTooManyRowsFormat, tx::kTotalBands, "", fullMark,
                              static_cast<int>(scoreBandCount(fullMark) + 3), kMaxSheetRows));
    }
    const std::vector<ScoreBand> bands = scoreBands(fullMark);
    const int bandCount = static_cast<int>(bands.size());

    writeTitleRow(sheet, withAll ? schoolCount + 1 : schoolCount, title);
    writeBoxedCell(sheet, 0, 3, tx::kTotalBands, 15);
    writeCumulativeHeaders(sheet, 1, schools);
    // Band j is in row B + 3 − j: the full-mark band on top, the band from 0 at the bottom.
    for (int j = 0; j < bandCount; ++j)
        writeBoxedCell(sheet, 0, scoreBandRow(bandCount, j), bands[static_cast<size_t>(j)].label);

    SchoolGroups groups(state.students, schools);
    BandCounter counts(bandEdges(bands), groups, columnValues(state.students, kTotalColumn));
    auto countCell = [&](int group, const ScoreBand& b) {
        return countCellText(counts.countInRange(group, b.low, b.high), counts.countAtLeast(group, b.low));
    };
    for (int j = 0; j < bandCount; ++j) {
        for (int i = 0; i < schoolCount; ++i) {
            writeBoxedCell(
                sheet, 1 + i, scoreBandRow(bandCount, j),
                countCell(groups.groupOfSchool(static_cast<size_t>(i)), bands[static_cast<size_t>(j)]));
        }
    }
    if (withAll) {
        for (int j = 0; j < bandCount; ++j)
            writeBoxedCell(sheet, 1 + schoolCount, scoreBandRow(bandCount, j),
                           countCell(BandCounter::kAllRows, bands[static_cast<size_t>(j)]));
    }
    return {};
}

}  // namespace varnex
