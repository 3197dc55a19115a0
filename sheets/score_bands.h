#pragma once
// 总分分数段: per school, how the totals fall into bands of ten points from the full total mark
// down to 0, each band with its count and the count at or above its lower edge. The band scale
// and its labels are shared with 各科分数段.

#include <string>
#include <vector>

#include "analysis/bands.h"
#include "analysis/exam.h"
#include "base/result.h"
#include "sheets/figure_places.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// The labels of the bands of the scale with full mark F, in scale order: "0-9" … and "F" for
/// the full-mark band.
std::vector<std::string> scoreBandLabels(int fullMark);

/// The row of band j (0: the band from 0) on a band sheet of `bandCount` bands: the full-mark band
/// in row 4 at the top, the band from 0 at the bottom.
int scoreBandRow(int bandCount, int band);

/// Fills the total-band sheet it is handed (already taken, activated and named) and returns where
/// the bands and the schools' counts are. Fails, writing nothing, when the bands of the total full
/// mark need more rows than a worksheet has.
Result<TotalBandsPlaces> writeScoreBands(ExcelSheet& sheet, const Exam& exam, const std::string& title);
/// The counts of the totals in the bands of the total full mark (none when they do not fit).
BandTable totalBandCounts(const Exam& exam);
/// The same from counts made before, with the columns of the scope's school and, in a part's own
/// workbook, the whole exam's.
Result<TotalBandsPlaces> writeScopedScoreBands(ExcelSheet& sheet, const Exam& exam, const BandTable& counts,
                                               const std::string& title, const SheetScope& scope);

}  // namespace varnex
