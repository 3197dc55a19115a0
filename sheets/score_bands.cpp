#include "sheets/score_bands.h"

#include "base/text_util.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

std::vector<std::string> scoreBandLabels(int fullMark) {
    const std::vector<ScoreBand> bands = scoreBands(fullMark);
    std::vector<std::string> labels;
    labels.reserve(bands.size());
    for (size_t j = 0; j < bands.size(); ++j) {
        const ScoreBand& b = bands[j];
        labels.push_back(j + 1 == bands.size()
                             ? strprintf(tx::kFullMarkBandFormat, fullMark)
                             : strprintf(tx::kScoreBandFormat, b.low, static_cast<int>(b.high) - 1));
    }
    return labels;
}

int scoreBandRow(int bandCount, int band) {
    return bandCount + 3 - band;
}

Result<TotalBandsPlaces> writeScoreBands(ExcelSheet& sheet, const Exam& exam, const std::string& title) {
    const int fullMark = exam.imported().examFullMarkTotal;
    if (scoreBandCount(fullMark) + 3 > kMaxSheetRows) {
        return fail(strprintf(tx::kTooManyRowsFormat, tx::kTotalBands, "", fullMark,
                              static_cast<int>(scoreBandCount(fullMark) + 3), kMaxSheetRows));
    }
    return writeScopedScoreBands(sheet, exam, totalBandCounts(exam), title, SheetScope());
}

BandTable totalBandCounts(const Exam& exam) {
    const int fullMark = exam.imported().examFullMarkTotal;
    if (scoreBandCount(fullMark) + 3 > kMaxSheetRows) return {};
    return scoreBandCounts(exam, exam.subjects().size(), scoreBands(fullMark));
}

Result<TotalBandsPlaces> writeScopedScoreBands(ExcelSheet& sheet, const Exam& exam, const BandTable& counts,
                                               const std::string& title, const SheetScope& scope) {
    const std::vector<size_t> shown = scope.shownSchools(exam.imported().schoolList);
    std::vector<std::string> schools;
    for (size_t k : shown) schools.push_back(exam.imported().schoolList[k]);
    const int schoolCount = static_cast<int>(schools.size());
    const bool withAll = scope.showsWholeExam(exam.imported().schoolList.size());
    const int fullMark = exam.imported().examFullMarkTotal;
    if (scoreBandCount(fullMark) + 3 > kMaxSheetRows) {
        return fail(strprintf(tx::kTooManyRowsFormat, tx::kTotalBands, "", fullMark,
                              static_cast<int>(scoreBandCount(fullMark) + 3), kMaxSheetRows));
    }
    const std::vector<ScoreBand> bands = scoreBands(fullMark);
    const std::vector<std::string> labels = scoreBandLabels(fullMark);
    const int bandCount = static_cast<int>(bands.size());
    TotalBandsPlaces places{0, scoreBandRow(bandCount, bandCount - 1), scoreBandRow(bandCount, 0), {}, {}};
    for (int j = 0; j < bandCount; ++j) places.bandRows.push_back(scoreBandRow(bandCount, j));
    for (int i = 0; i < schoolCount; ++i) places.schoolColumns.push_back(1 + i);

    writeTitleRow(sheet, withAll ? schoolCount + 1 : schoolCount, title);
    writeBoxedCell(sheet, places.labelColumn, 3, tx::kTotalBands, 15);
    writeCumulativeHeaders(sheet, 1, schools, withAll);
    // Band j is in row B + 3 − j: the full-mark band on top, the band from 0 at the bottom.
    for (int j = 0; j < bandCount; ++j)
        writeBoxedCell(sheet, places.labelColumn, places.bandRows[static_cast<size_t>(j)],
                       labels[static_cast<size_t>(j)]);

    auto ofSchool = [&](int i, int j) -> const BandCount& {
        return counts.ofSchool[shown[static_cast<size_t>(i)]][static_cast<size_t>(j)];
    };
    for (int j = 0; j < bandCount; ++j) {
        for (int i = 0; i < schoolCount; ++i) {
            if (ofSchool(i, j).inBand == 0) continue;
            if (places.highestOccupied < places.lowestOccupied) places.lowestOccupied = j;
            places.highestOccupied = j;
        }
    }
    auto countCell = [](const BandCount& c) { return countCellText(c.inBand, c.cumulative); };
    for (int j = 0; j < bandCount; ++j) {
        for (int i = 0; i < schoolCount; ++i) {
            writeBoxedCell(sheet, places.schoolColumns[static_cast<size_t>(i)],
                           places.bandRows[static_cast<size_t>(j)], countCell(ofSchool(i, j)));
        }
    }
    if (withAll) {
        for (int j = 0; j < bandCount; ++j)
            writeBoxedCell(sheet, 1 + schoolCount, places.bandRows[static_cast<size_t>(j)],
                           countCell(counts.ofAll[static_cast<size_t>(j)]));
    }
    return places;
}

}  // namespace varnex
